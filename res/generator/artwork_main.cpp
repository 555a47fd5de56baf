// Draws the wizard's artwork: `qbr20g-artwork --out DIR` writes DIR/<id>.png for every picture;
// `--contact-sheet FILE` writes one PNG with all of them and their ids.
#include <cstdio>

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>

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

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3 || (args[1] != "--out" && args[1] != "--contact-sheet")) {
    return Fail("usage: qbr20g-artwork --out DIR | --contact-sheet FILE");
  }
  if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
    return Fail("the font Liberation Sans is missing; install the Debian package "
                "fonts-liberation (make deps does)");
  }

  if (const QString mismatch = TableMismatch(); !mismatch.isEmpty()) {
    return Fail(mismatch);
  }

  if (args[1] == "--contact-sheet") {
    if (!artwork::ContactSheet().save(args[2], "PNG")) {
      return Fail("cannot write " + args[2]);
    }
    return 0;
  }

  const QDir out(args[2]);
  if (!out.mkpath(QStringLiteral("."))) {
    return Fail("cannot make the folder " + args[2]);
  }
  for (const artwork::Artwork& art : artwork::ArtworkTable()) {
    const QImage picture = art.draw();
    if (picture.size() != art.size) {
      return Fail(QStringLiteral("picture %1 came out %2 x %3 instead of %4 x %5")
                      .arg(art.id)
                      .arg(picture.width())
                      .arg(picture.height())
                      .arg(art.size.width())
                      .arg(art.size.height()));
    }
    const QString path = out.filePath(QStringLiteral("%1.png").arg(art.id));
    if (!picture.save(path, "PNG")) {
      return Fail("cannot write " + path);
    }
  }
  return 0;
}
