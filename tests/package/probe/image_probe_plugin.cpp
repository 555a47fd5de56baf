// An image-format plugin for "png" that a user puts on QT_PLUGIN_PATH: Qt loads it into the
// wizard when the wizard reads its first picture. It reads nothing itself (the built-in PNG
// reader still does), reports what it can do from inside the wizard, and, with
// QBR20G_PROBE_DRIVE set, drives the wizard through a whole flow so the test sees that the
// wizard still works with it loaded.
#include <QCoreApplication>
#include <QImageIOPlugin>

#include <cstdlib>

#include "tests/package/probe/flow_driver.h"
#include "tests/package/probe/probe_report.h"

class ImageProbePlugin : public QImageIOPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "image_probe_plugin.json")

public:
  ImageProbePlugin() {
    ReportProbe("image-plugin");
    if (std::getenv("QBR20G_PROBE_DRIVE"))
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [] { StartFlowDriver(); }, Qt::QueuedConnection);
  }
  Capabilities capabilities(QIODevice*, const QByteArray&) const override { return {}; }
  QImageIOHandler* create(QIODevice*, const QByteArray&) const override { return nullptr; }
};

#include "image_probe_plugin.moc"
