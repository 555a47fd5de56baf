// Draws the wizard's artwork: `qbr20g-artwork --out DIR` writes DIR/<id>.png for every picture
// and DIR/<id>@2x.png, the same picture drawn at twice the size for screens with two device
// pixels to a pixel; `--contact-sheet FILE [--scale 2]` writes one PNG with all of them and their
// ids, at either scale. `--translation FILE.qm` first draws the words in that language.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTranslator>

#include "artwork_style.h"
#include "artwork_table.h"
#include "contact_sheet.h"
#include "res/artwork_ids.h"

namespace {

int Fail(const QString& message) {
  std::fprintf(stderr, "qbr20g-artwork: %s\n", qPrintable(message));
  return 1;
}

// The table must draw every listed picture once, and nothing else: the build compiles in the
// listed files only.
QString TableMismatch() {
  QList<int> listed(std::begin(ARTWORK_IDS), std::end(ARTWORK_IDS));
  QList<int> drawn;
  for (const artwork::Artwork& art : artwork::ArtworkTable())
    drawn.append(art.id);
  std::sort(listed.begin(), listed.end());
  std::sort(drawn.begin(), drawn.end());
  if (listed == drawn)
    return QString();
  QStringList words;
  for (int id : listed)
    if (drawn.count(id) != 1)
      words << QStringLiteral("%1 is drawn %2 times").arg(id).arg(drawn.count(id));
  for (int id : drawn)
    if (!listed.contains(id))
      words << QStringLiteral("%1 is drawn but not listed in res/artwork_ids.h").arg(id);
  words.removeDuplicates();
  return words.join(QStringLiteral("; "));
}

// Writes every picture at `scale` into `out`, named <id><suffix>.png.
int WritePictures(const QDir& out, int scale, const QString& suffix) {
  const artwork::DrawingScale drawing(scale);
  for (const artwork::Artwork& art : artwork::ArtworkTable()) {
    const QImage picture = art.draw();
    if (picture.size() != art.size * scale || picture.devicePixelRatio() != scale) {
      return Fail(QStringLiteral("picture %1 at scale %2 came out %3 x %4 instead of %5 x %6")
                      .arg(art.id)
                      .arg(scale)
                      .arg(picture.width())
                      .arg(picture.height())
                      .arg(art.size.width() * scale)
                      .arg(art.size.height() * scale));
    }
    const QString path = out.filePath(QStringLiteral("%1%2.png").arg(art.id).arg(suffix));
    if (!picture.save(path, "PNG")) {
      return Fail("cannot write " + path);
    }
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments();
  QTranslator translator;
  if (const qsizetype at = args.indexOf(QStringLiteral("--translation")); at > 0) {
    if (at + 1 >= args.size() || !QFile::exists(args[at + 1]))
      return Fail("no translation " + args.value(at + 1));
    // lrelease writes a translation with no finished text as one that does not load: the words
    // then stay English.
    if (translator.load(args[at + 1]))
      QCoreApplication::installTranslator(&translator);
    args.remove(at, 2);
  }
  const bool sheet_at_scale =
      args.size() == 5 && args[1] == "--contact-sheet" && args[3] == "--scale";
  if (!(args.size() == 3 && (args[1] == "--out" || args[1] == "--contact-sheet")) &&
      !(sheet_at_scale && (args[4] == "1" || args[4] == "2"))) {
    return Fail("usage: qbr20g-artwork [--translation FILE.qm] --out DIR | --contact-sheet FILE "
                "[--scale 1|2]");
  }
  if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
    return Fail("the font Liberation Sans is missing; install the Debian package "
                "fonts-liberation (make deps does)");
  }

  if (const QString mismatch = TableMismatch(); !mismatch.isEmpty()) {
    return Fail(mismatch);
  }

  if (args[1] == "--contact-sheet") {
    const artwork::DrawingScale drawing(sheet_at_scale ? args[4].toInt() : 1);
    if (!artwork::ContactSheet().save(args[2], "PNG")) {
      return Fail("cannot write " + args[2]);
    }
    return 0;
  }

  const QDir out(args[2]);
  if (!out.mkpath(QStringLiteral("."))) {
    return Fail("cannot make the folder " + args[2]);
  }
  if (const int failed = WritePictures(out, 1, QString()); failed != 0)
    return failed;
  return WritePictures(out, 2, QStringLiteral("@2x"));
}
