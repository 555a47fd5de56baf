// Every page as a screen reader and a keyboard user meet it, through Qt's accessibility (no
// accessibility bus needed): the window named by the page's title, the focus on the first useful
// control, every stop of Tab in reading order with its role and name, and what the status line
// and the banners tell.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QSignalSpy>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "skin/progress_banner.h"
#include "skin/skin_accessibility.h"
#include "skin/transparent_label.h"
#include "tests/gui/bridge_pages.h"
#include "tests/gui/keyboard_driver.h"
#include "tests/gui/qt_printers.h"
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/security_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

using Role = QAccessible::Role;

// A stop of Tab: what a screen reader says of the control that has the focus.
struct Stop {
  Role role;
  QString name;
  friend bool operator==(const Stop&, const Stop&) = default;
};

void PrintTo(const Stop& stop, std::ostream* out) {
  *out << "role 0x" << std::hex << stop.role << std::dec << " \"" << stop.name.toStdString() << '"';
}

// What a page says of itself: its window's name, then its stops of Tab from the first focus on,
// round to the one before it. Disabled controls are no stops.
struct PageNames {
  const char* page;
  std::function<std::unique_ptr<WizardDriver>(BridgePages&)> open;
  QString title;
  std::vector<Stop> stops;
};

std::unique_ptr<WizardDriver> Open(std::unique_ptr<CPageBase> page) {
  return std::make_unique<WizardDriver>(std::move(page));
}

// The names each page must give, once.
const std::vector<PageNames>& ExpectedNames() {
  static const std::vector<PageNames> pages = {
      {"device list",
       [](BridgePages&) {
         auto wizard = Open(std::make_unique<CDeviceListPage>());
         EXPECT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
         return wizard;
       },
       "Select your bridge",
       {{Role::Table, "Bridges on the network"},
        {Role::Button, "Exit"},
        {Role::Button, "QBR20N"},
        {Role::Button, "Refresh List"}}},
      {"site survey",
       [](BridgePages& fixture) { return fixture.OpenSurvey(); },
       "Choose a wireless network",
       {{Role::Table, "Wireless networks"},
        {Role::Button, "Refresh List"},
        {Role::Button, "Back"},
        {Role::Button, "Exit"},
        {Role::RadioButton, "From list"}}},
      {"security",
       [](BridgePages&) { return Open(std::make_unique<CSecurityPage>()); },
       "Choose the security mode",
       {{Role::ComboBox, "Security"},
        {Role::Button, "Back"},
        {Role::Button, "Next"},
        {Role::Button, "Exit"}}},
      {"WEP",
       [](BridgePages&) { return Open(std::make_unique<CWepPage>()); },
       "Enter the WEP keys",
       {{Role::EditableText, "Key 1"},
        {Role::EditableText, "Key 2"},
        {Role::EditableText, "Key 3"},
        {Role::EditableText, "Key 4"},
        {Role::ComboBox, "Key Index"},
        {Role::ComboBox, "Key format"},
        {Role::Button, "Back"},
        {Role::Button, "Next"},
        {Role::Button, "Exit"},
        {Role::ComboBox, "Security"}}},
      {"WPA2",
       [](BridgePages&) {
         auto page = std::make_unique<CWpaPage>();
         page->SetSecurityModeNumber(3);
         return Open(std::move(page));
       },
       "Enter the WPA2 passphrase",
       {{Role::EditableText, "Passphrase"},
        {Role::Button, "Back"},
        {Role::Button, "Next"},
        {Role::Button, "Exit"},
        {Role::ComboBox, "Security"},
        {Role::EditableText, "Encryption"}}},
      {"summary",
       [](BridgePages&) { return Open(std::make_unique<CSummaryPage>()); },
       "Review and save",
       {{Role::Button, "Next"},
        {Role::Button, "Exit"},
        {Role::EditableText, "Old settings: Channel"},
        {Role::EditableText, "New settings: Channel"},
        {Role::EditableText, "Old settings: Network Type"},
        {Role::EditableText, "New settings: Network Type"},
        {Role::EditableText, "Old settings: SSID"},
        {Role::EditableText, "New settings: SSID"},
        {Role::EditableText, "Old settings: Security"},
        {Role::EditableText, "New settings: Security"},
        {Role::Button, "Back"}}},
      {"finish",
       [](BridgePages&) { return Open(std::make_unique<CFinishPage>()); },
       "Congratulations!",
       {{Role::Button, "Exit"},
        {Role::Notification, "Settings saved"},
        {Role::Button, "Visit Web Site"}}},
  };
  return pages;
}

Stop StopAt(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible ? Stop{accessible->role(), SpokenName(accessible)}
                    : Stop{Role::NoRole, QString()};
}

// The stops of Tab from the focus on, until the focus comes back to where it started.
std::vector<Stop> TabRound(QWidget* page) {
  std::vector<Stop> stops;
  QWidget* first = page->focusWidget();
  for (QWidget* at = first; at != nullptr && stops.size() < 30;) {
    stops.push_back(StopAt(at));
    KeyboardDriver::Press(page, Qt::Key_Tab);
    at = page->focusWidget();
    if (at == first)
      break;
  }
  return stops;
}

using PageAccessibility = BridgePages;

// Records the accessibility events that the skinned controls tell while it lives: their kind and
// the name of the object they concern.
class AccessibleEvents {
public:
  // The names of the objects that events of `kind` concerned, in order.
  QStringList Names(QAccessible::Event kind) const {
    QStringList names;
    for (const auto& [type, name] : events_)
      if (type == kind)
        names << name;
    return names;
  }

private:
  std::vector<std::pair<QAccessible::Event, QString>> events_;
  AccessibleEventWatch watch_{[this](QAccessibleEvent* event) {
    QAccessibleInterface* accessible = event->accessibleInterface();
    events_.push_back(
        {event->type(), accessible ? accessible->text(QAccessible::Name) : QString()});
  }};
};

} // namespace

TEST_F(PageAccessibility, EveryPageIsNamedByItsTitleAndEveryStopOfTabByItsLabel) {
  for (const PageNames& expected : ExpectedNames()) {
    SCOPED_TRACE(expected.page);
    const std::unique_ptr<WizardDriver> wizard = expected.open(*this);
    CPageBase* page = wizard->page();
    EXPECT_EQ(AccessibleName(page), expected.title);
    EXPECT_EQ(page->windowTitle(), "QBR20G") << "the title bar keeps the product's name";
    EXPECT_EQ(TabRound(page), expected.stops);

    // Whatever can take the focus, enabled or not, has a name.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(page);
    for (int i = 0; i < window->childCount(); ++i) {
      QAccessibleInterface* child = window->child(i);
      if (child->state().focusable) {
        EXPECT_FALSE(SpokenName(child).isEmpty())
            << "a control of role 0x" << std::hex << child->role() << " has no name";
      }
    }
  }
}

TEST_F(PageAccessibility, DisabledButtonsAreReportedUnavailable) {
  WizardDriver wizard(std::make_unique<CFinishPage>());
  for (const int id : {CFinishPage::IDC_BACK, CFinishPage::IDC_NEXT}) {
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(wizard.Control(id));
    EXPECT_TRUE(button->state().disabled) << id;
    EXPECT_FALSE(button->text(QAccessible::Name).isEmpty()) << id;
  }
  QAccessibleInterface* exit = QAccessible::queryAccessibleInterface(wizard.Control(IDC_EXIT));
  EXPECT_FALSE(exit->state().disabled);
}

TEST_F(PageAccessibility, TheStatusLineIsALabelNamedByItsTextAndTellsEachChange) {
  auto wizard = std::make_unique<WizardDriver>(std::make_unique<CWpaPage>());
  auto* status = wizard->Control<CTransparentLabel>(CWpaPage::IDC_STATUS);
  QAccessibleInterface* label = QAccessible::queryAccessibleInterface(status);
  EXPECT_EQ(label->role(), Role::StaticText);
  AccessibleEvents events;
  wizard->Type(CWpaPage::IDC_PASSPHRASE, "short");
  wizard->Click(CWpaPage::IDC_NEXT);
  EXPECT_EQ(label->text(QAccessible::Name), "Passphrase at least 8 characters !");
  EXPECT_TRUE(
      events.Names(QAccessible::NameChanged).contains("Passphrase at least 8 characters !"));
  EXPECT_EQ(events.Names(QAccessible::Alert), QStringList{"Passphrase at least 8 characters !"})
      << "a failed check is an alert";

  // A worker's text is told on the UI thread, once it arrives there.
  std::thread([status] { status->SetText("Save config successfully !"); }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(events.Names(QAccessible::NameChanged).last(), "Save config successfully !");
  EXPECT_EQ(events.Names(QAccessible::Alert).size(), 1) << "news that are no failure are no alert";
}

TEST_F(PageAccessibility, BannersTellWhatTheyShowAndAreBusyWhileRunning) {
  WizardDriver wizard(std::make_unique<CDeviceListPage>());
  CProgressBanner* banner = wizard.page()->findChild<CProgressBanner*>();
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(banner);
  EXPECT_EQ(accessible->role(), Role::ProgressBar);
  EXPECT_EQ(accessible->text(QAccessible::Name), "Searching for the bridge ...");
  EXPECT_TRUE(accessible->state().busy) << "the search runs from the start";
  ASSERT_TRUE(wizard.WaitForMessage(WM_SEARCH_RESULT));
  EXPECT_FALSE(accessible->state().busy);

  WizardDriver finish(std::make_unique<CFinishPage>());
  QAccessibleInterface* notice =
      QAccessible::queryAccessibleInterface(finish.as<CFinishPage>()->Banner());
  EXPECT_EQ(notice->role(), Role::Notification);
  EXPECT_EQ(notice->text(QAccessible::Name), "Settings saved");
  EXPECT_FALSE(notice->state().busy);
}

TEST_F(PageAccessibility, TheWpaPageIsRenamedWithItsMode) {
  auto page = std::make_unique<CWpaPage>();
  page->SetSecurityModeNumber(2);
  WizardDriver wizard(std::move(page));
  EXPECT_EQ(AccessibleName(wizard.page()), "Enter the WPA passphrase");
  wizard.Choose(CWpaPage::IDC_MODE, 3);
  EXPECT_EQ(AccessibleName(wizard.page()), "Enter the WPA2 passphrase");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(wizard.Control(CWpaPage::IDC_CIPHER))
                ->text(QAccessible::Description),
            "AES is selected automatically for WPA2-PSK.");
}
