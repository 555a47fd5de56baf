#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <set>

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "platform/browser_command.h"
#include "platform/open_link.h"

// Thirteen launcher codes have a message of their own; the ones OpenLink itself returns are
// among them.
TEST(OpenErrorText, KnownCodesHaveTextsOfTheirOwn) {
  std::set<QString> texts;
  int known = 0;
  for (int code = -1; code <= 40; ++code) {
    const QString text = OpenErrorText(code);
    if (text == QStringLiteral("Unknown Error (%1) occurred.").arg(code))
      continue;
    ++known;
    EXPECT_FALSE(text.isEmpty()) << code;
    EXPECT_TRUE(texts.insert(text).second) << code << " repeats the text of another code";
  }
  EXPECT_EQ(known, 13);
  for (int code : {OPEN_LINK_NOT_FOUND, OPEN_LINK_NO_ASSOCIATION})
    EXPECT_FALSE(OpenErrorText(code).startsWith("Unknown Error")) << code;
}

TEST(OpenErrorText, OtherCodesAreUnknownWithTheirNumber) {
  EXPECT_EQ(OpenErrorText(4), "Unknown Error (4) occurred.");
  EXPECT_EQ(OpenErrorText(-1), "Unknown Error (-1) occurred.");
  EXPECT_EQ(OpenErrorText(33), "Unknown Error (33) occurred.");
}

TEST(OpenErrorText, MessageHasThePrefixAndKeepsTheTrailingSpace) {
  EXPECT_EQ(OpenErrorMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
  EXPECT_EQ(OpenErrorMessage(4), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
}

TEST(OpenErrorText, ShowOpenErrorIsAWarningBoxWithOk) {
  QString shown_text;
  QMessageBox::Icon shown_icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons shown_buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown_text = box->text();
    shown_icon = box->icon();
    shown_buttons = box->standardButtons();
    box->accept();
  });
  ShowOpenError(nullptr, 26);
  EXPECT_EQ(shown_text, "Unable to open hyperlink:\n\nA sharing violation occurred. ");
  EXPECT_EQ(shown_icon, QMessageBox::Warning);
  EXPECT_EQ(shown_buttons, QMessageBox::Ok);
}

TEST(BrowserCommand, QuotedPlaceholderIsCutBeforeItsOpeningQuote) {
  const QString line = R"("/opt/Web Browser/browser" --new-window "%u")";
  EXPECT_EQ(CutCommandLineAtPlaceholder(line), R"("/opt/Web Browser/browser" --new-window )");
  // With the added space, two spaces stand between the switch and the target.
  EXPECT_EQ(FallbackCommandLine(line, "http://example.org/"),
            R"("/opt/Web Browser/browser" --new-window  http://example.org/)");
  EXPECT_EQ(CutCommandLineAtPlaceholder(R"(browser %F "%U")"), "browser %F ");
}

TEST(BrowserCommand, BarePlaceholderIsCutWhereItStands) {
  EXPECT_EQ(CutCommandLineAtPlaceholder("firefox-esr %u"), "firefox-esr ");
  EXPECT_EQ(CutCommandLineAtPlaceholder("chromium --incognito %U"), "chromium --incognito ");
  EXPECT_EQ(CutCommandLineAtPlaceholder("viewer %f --x"), "viewer ");
  // "%%u" is a literal percent followed by u, not a placeholder.
  EXPECT_EQ(CutCommandLineAtPlaceholder("tool --fmt=%%u %F"), "tool --fmt=%%u ");
}

TEST(BrowserCommand, LineWithoutPlaceholderGetsASpaceAndTheTarget) {
  EXPECT_EQ(CutCommandLineAtPlaceholder("lynx -accept_all_cookies"), "lynx -accept_all_cookies");
  EXPECT_EQ(FallbackCommandLine("lynx", "http://example.org/"), "lynx http://example.org/");
}

TEST(BrowserCommand, SplitFollowsTheDesktopEntryQuoting) {
  EXPECT_EQ(SplitCommandLine(R"("/opt/Web Browser/browser" --new-window  )"),
            (QStringList{"/opt/Web Browser/browser", "--new-window"}));
  EXPECT_EQ(SplitCommandLine(R"(sh "a \"b\" \$c \\d")"), (QStringList{"sh", R"(a "b" $c \d)"}));
  EXPECT_EQ(SplitCommandLine("app --icon %i --name=%%x"),
            (QStringList{"app", "--icon", "--name=%x"}));
  EXPECT_FALSE(SplitCommandLine(R"("unterminated --flag)").has_value());
  EXPECT_FALSE(SplitCommandLine("   ").has_value());
}

TEST(BrowserCommand, ExecIsReadFromTheDesktopEntryGroupOnly) {
  const QByteArray entry = "[Desktop Entry]\n"
                           "Name=Browser\n"
                           "Exec=browser\\s--private %u\n"
                           "[Desktop Action new-window]\n"
                           "Exec=browser --new-window %u\n";
  EXPECT_EQ(DesktopEntryExec(entry), "browser --private %u");
  EXPECT_EQ(DesktopEntryExec("[Desktop Action x]\nExec=other\n"), "");
  EXPECT_EQ(DesktopEntryExec("[Desktop Entry]\nExecutable=no\nExec = spaced %U\n"), "spaced %U");
}

// A fake browser in a folder of its own: it writes each argument it gets on a line of a file.
class FallbackLaunch : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    QDir(home_.path()).mkpath("applications");
    script_ = home_.filePath("fake browser.sh");
    output_ = home_.filePath("arguments.txt");
    QFile script(script_);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
                                "'%1.tmp' && mv '%1.tmp' '%1'\n")
                     .arg(output_)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    saved_data_home_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home_.path().toUtf8());
  }

  void TearDown() override { qputenv("XDG_DATA_HOME", saved_data_home_); }

  void WriteEntry(const QString& exec) {
    QFile entry(home_.filePath("applications/fake-browser.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(("[Desktop Entry]\nType=Application\nName=Fake\nExec=" + exec + "\n").toUtf8());
  }

  QStringList Arguments() {
    QFile file(output_);
    if (!QTest::qWaitFor([&] { return file.exists(); }, 5000) || !file.open(QIODevice::ReadOnly)) {
      return {"<the fake browser did not run>"};
    }
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  }

  QTemporaryDir home_;
  QString script_;
  QString output_;
  QByteArray saved_data_home_;
};

TEST_F(FallbackLaunch, StartsTheRegisteredBrowserWithTheTargetAsOneArgument) {
  WriteEntry("\"" + script_ + "\" --new-window \"%u\"");
  // Shell syntax in the target must reach the browser untouched, never a shell.
  const QString target = "http://example.org/a b?x=1;touch${IFS}pwned&y=$(id)";
  EXPECT_EQ(OpenLinkFallback(target, 31, "fake-browser.desktop"), OPEN_LINK_OPENED);
  EXPECT_EQ(Arguments(), (QStringList{"--new-window", target}));
  EXPECT_FALSE(QFile::exists(QDir::current().filePath("pwned")));
}

TEST_F(FallbackLaunch, EntryWithoutPlaceholderGetsTheTargetAppended) {
  WriteEntry("\"" + script_ + "\" --flag");
  EXPECT_EQ(OpenLinkFallback("http://example.org/", 31, "fake-browser.desktop"), OPEN_LINK_OPENED);
  EXPECT_EQ(Arguments(), (QStringList{"--flag", "http://example.org/"}));
}

TEST_F(FallbackLaunch, MissingOrBrokenRegistrationReportsTheShellsCode) {
  EXPECT_EQ(OpenLinkFallback("http://example.org/", 31, "not-there.desktop"), 31);
  EXPECT_EQ(OpenLinkFallback("http://example.org/", 5, ""), 5);
  EXPECT_EQ(OpenLinkFallback("http://example.org/", 31, "../fake-browser.desktop"), 31);
  WriteEntry("\"unterminated %u");
  EXPECT_EQ(OpenLinkFallback("http://example.org/", 31, "fake-browser.desktop"), 31);
}

TEST_F(FallbackLaunch, ProgramThatCannotStartIsFileNotFound) {
  WriteEntry(home_.filePath("no-such-browser") + " %u");
  EXPECT_EQ(OpenLinkFallback("http://example.org/", 31, "fake-browser.desktop"),
            OPEN_LINK_NOT_FOUND);
}

TEST(OpenLink, ReplacedOpenerGetsTheTargetAndItsResultIsReturned) {
  QStringList seen;
  SetLinkOpener([&](const QString& target) {
    seen << target;
    return 42;
  });
  EXPECT_EQ(OpenLink("http://example.org/"), 42);

  int delivered = -1;
  QObject context;
  OpenLinkAsync("http://example.org/x", &context, [&](int result) { delivered = result; });
  EXPECT_EQ(delivered, -1) << "the result arrives later, on the UI thread";
  EXPECT_TRUE(QTest::qWaitFor([&] { return delivered == 42; }, 1000));
  EXPECT_EQ(seen, (QStringList{"http://example.org/", "http://example.org/x"}));
  SetLinkOpener([](const QString&) { return OPEN_LINK_NO_ASSOCIATION; });
}

TEST(OpenLink, ResultIsDroppedWhenTheContextIsGone) {
  SetLinkOpener([](const QString&) { return 42; });
  bool called = false;
  {
    QObject context;
    OpenLinkAsync("http://example.org/", &context, [&](int) { called = true; });
  }
  QTest::qWait(50);
  EXPECT_FALSE(called);
  SetLinkOpener([](const QString&) { return OPEN_LINK_NO_ASSOCIATION; });
}

TEST(OpenLink, EmptyTargetIsNotOpened) {
  SetLinkOpener(nullptr);
  EXPECT_EQ(OpenLink(""), OPEN_LINK_NOT_FOUND);
  EXPECT_EQ(OpenLink("   "), OPEN_LINK_NOT_FOUND);
  SetLinkOpener([](const QString&) { return OPEN_LINK_NO_ASSOCIATION; });
}
