#include "platform/ui_language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

#include "link/translation.h"

namespace {

QString chosen;
QString artwork_dir;
std::unique_ptr<QTranslator> ours;
std::unique_ptr<QTranslator> qts;

QString OurTranslation(const QString& language) {
  return QStringLiteral(":/i18n/qbr20g_%1.qm").arg(language);
}

} // namespace

QString InstallUiLanguage() {
  for (const std::string& asked : translation::requested_languages()) {
    const QString language = QString::fromStdString(asked);
    if (QFile::exists(OurTranslation(language))) {
      SetUiLanguage(language);
      break;
    }
  }
  return chosen;
}

QString UiLanguage() { return chosen; }

void SetUiLanguage(const QString& language) {
  for (std::unique_ptr<QTranslator>* translator : {&ours, &qts}) {
    if (*translator != nullptr)
      QCoreApplication::removeTranslator(translator->get());
    translator->reset();
  }
  chosen = language;
  if (language.isEmpty())
    return;
  ours = std::make_unique<QTranslator>();
  if (ours->load(OurTranslation(language)))
    QCoreApplication::installTranslator(ours.get());
  // Qt's own words, where Debian's qt6-translations-l10n has them; English buttons otherwise.
  qts = std::make_unique<QTranslator>();
  if (qts->load(QStringLiteral("qtbase_") + language,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qts.get());
  if (!QFile::exists(UiLanguagePicturesDir()))
    qWarning("qbr20g-setup: no pictures in %s; they are shown in English",
             qPrintable(UiLanguagePicturesDir()));
}

QString UiLanguagePicturesDir() {
  if (chosen.isEmpty())
    return QString();
  const QString dir = artwork_dir.isEmpty() ? QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/" QBR20G_ARTWORK_FROM_BIN)
                                            : artwork_dir;
  return dir + QLatin1Char('/') + chosen;
}

void SetLanguageArtworkDir(const QString& dir) { artwork_dir = dir; }

QString LanguageArtworkDir() { return artwork_dir; }
