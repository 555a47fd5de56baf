// Every word the user reads fits the room it is given, in English, in every language the wizard
// ships and in a pseudo-language whose words are all about 40 % longer: the words the artwork
// draws at 1x and 2x, and the words the pages show at run time on this suite's screen (the suite
// runs once at 1x and once with QT_SCALE_FACTOR=2).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableWidget>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "link/translation.h"
#include "platform/fit_text.h"
#include "platform/ui_language.h"
#include "res/generator/artwork_style.h"
#include "res/generator/artwork_table.h"
#include "res/generator/text_observer.h"
#include "skin/transparent_label.h"
#include "tests/gui/bridge_pages.h"
#include "tests/gui/pseudo_language.h"
#include "wizard/device_list_page.h"
#include "wizard/report_list.h"
#include "wizard/security_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

namespace {

const char* const LANGUAGES[] = {"en", "de", "fr", "es", "pseudo"};

class LanguageFit : public BridgePages {
protected:
  // Shows `language` from now on: the wizard's translations and the gettext catalogues of the
  // link's and the device's messages, or the pseudo-language.
  void Use(const std::string& language) {
    if (pseudo_ != nullptr)
      QCoreApplication::removeTranslator(pseudo_.get());
    pseudo_.reset();
    language_ = language;
    const bool real = language != "en" && language != "pseudo";
    setenv("LANGUAGE", real ? language.c_str() : "en", 1);
    translation::set_up_messages(QBR20G_LOCALE_OUTPUT);
    SetUiLanguage(real ? QString::fromStdString(language) : QString());
    if (real) {
      ASSERT_EQ(UiLanguage().toStdString(), language) << "no translation for " << language;
    }
    if (language == "pseudo") {
      pseudo_ = std::make_unique<PseudoTranslator>(QStringLiteral(":/i18n/qbr20g_de.qm"));
      QCoreApplication::installTranslator(pseudo_.get());
    }
  }
  void TearDown() override {
    Use("en");
    BridgePages::TearDown();
  }

  void Expect(bool fits, const std::string& where, const QString& text) {
    ++checked_;
    if (!fits)
      misfits_.push_back(language_ + ", " + where + ": \"" + text.toStdString() + '"');
  }

  // Every text of `page` that is shown now, and every entry of its lists.
  void CheckPage(QWidget* page, const std::string& name) {
    for (auto* label : page->findChildren<CTransparentLabel*>()) {
      const QString text = label->Text();
      Expect(QFontMetrics(CTransparentLabel::LabelFont()).horizontalAdvance(text) <= label->width(),
             name + " status line", text);
    }
    for (auto* edit : page->findChildren<QLineEdit*>()) {
      if (edit->isReadOnly() || !edit->isEnabled())
        Expect(edit->fontMetrics().horizontalAdvance(edit->text()) <= LineEditTextRoom(edit),
               name + " field", edit->text());
    }
    for (auto* list : page->findChildren<QComboBox*>()) {
      for (int i = 0; i < list->count(); ++i)
        Expect(list->fontMetrics().horizontalAdvance(list->itemText(i)) <= ComboTextRoom(list),
               name + " list entry", list->itemText(i));
    }
    for (auto* table : page->findChildren<QTableWidget*>()) {
      QHeaderView* header = table->horizontalHeader();
      const int margins =
          2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
      for (int column = 0; column < table->columnCount(); ++column) {
        const QString text = table->horizontalHeaderItem(column)->text();
        Expect(header->fontMetrics().horizontalAdvance(text) + margins <=
                   header->sectionSize(column),
               name + " column heading", text);
      }
    }
  }

  std::string Report() const {
    std::string report;
    for (const std::string& misfit : misfits_)
      report += "\n  " + misfit;
    return report;
  }

  std::string language_ = "en";
  std::unique_ptr<PseudoTranslator> pseudo_;
  std::vector<std::string> misfits_;
  int checked_ = 0;
};

} // namespace

TEST_F(LanguageFit, EveryDrawnWordFitsItsRoomInEveryLanguageAtBothScales) {
  for (const char* language : LANGUAGES) {
    ASSERT_NO_FATAL_FAILURE(Use(language));
    std::string picture;
    const artwork::ObservingText observer([&](QPainter&, const QRectF& bounds, const QRectF& room,
                                              const QString& text,
                                              const std::function<void()>& draw) {
      draw();
      Expect(artwork::TextFits(bounds, room),
             picture + " (" + std::to_string(qRound(bounds.width())) + " x " +
                 std::to_string(qRound(bounds.height())) + " in " +
                 std::to_string(qRound(room.width())) + " x " +
                 std::to_string(qRound(room.height())) + ")",
             text);
    });
    for (const int scale : {1, 2}) {
      const artwork::DrawingScale drawing(scale);
      for (const artwork::Artwork& art : artwork::ArtworkTable()) {
        picture = art.name.toStdString() + " at " + std::to_string(scale) + "x";
        art.draw();
      }
    }
  }
  EXPECT_GT(checked_, 1000) << "too few texts seen: the observer is not called";
  EXPECT_TRUE(misfits_.empty()) << misfits_.size() << " drawn texts overflow:" << Report();
}

TEST_F(LanguageFit, EveryWordShownAtRunTimeFitsItsControlInEveryLanguage) {
  for (const char* language : LANGUAGES) {
    ASSERT_NO_FATAL_FAILURE(Use(language));
    {
      WizardDriver device_list(std::make_unique<CDeviceListPage>());
      ASSERT_TRUE(device_list.WaitForMessage(WM_SEARCH_RESULT));
      CheckPage(device_list.page(), "device list");
    }
    {
      SetUp(); // the device list emptied the chosen bridge
      auto survey = OpenSurvey();
      CheckPage(survey->page(), "site survey");
      survey->Click(CSiteSurveyPage::IDC_MANUAL);
      survey->Click(CSiteSurveyPage::IDC_NEXT);
      CheckPage(survey->page(), "site survey, no SSID typed");
    }
    {
      WizardDriver security(std::make_unique<CSecurityPage>());
      CheckPage(security.page(), "security");
    }
    {
      WizardDriver wep(std::make_unique<CWepPage>());
      wep.Type(CWepPage::IDC_KEY1, "012345678");
      wep.Click(CWepPage::IDC_NEXT);
      CheckPage(wep.page(), "WEP, a key of the wrong length");
    }
    {
      auto page = std::make_unique<CWpaPage>();
      page->SetSecurityModeNumber(3);
      WizardDriver wpa(std::move(page));
      wpa.Type(CWpaPage::IDC_PASSPHRASE, "short");
      wpa.Click(CWpaPage::IDC_NEXT);
      CheckPage(wpa.page(), "WPA2, a short passphrase");
    }
    {
      std::strcpy(CurrentNetwork.ssid, "Old");
      std::strcpy(CurrentNetwork.security, "WPA-PSK");
      std::strcpy(WirelessSettings.ssid, "Office");
      std::strcpy(WirelessSettings.security, "WPA2-PSK");
      WizardDriver summary(std::make_unique<CSummaryPage>());
      CheckPage(summary.page(), "summary");
      summary.Click(CSummaryPage::IDC_NEXT);
      ASSERT_TRUE(summary.WaitForMessage(WM_SAVE_RESULT));
      CheckPage(summary.page(), "summary, saved");
    }
  }
  EXPECT_GT(checked_, 200);
  EXPECT_TRUE(misfits_.empty()) << misfits_.size() << " texts overflow:" << Report();
}
