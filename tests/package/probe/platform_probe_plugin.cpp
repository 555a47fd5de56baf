// A "platform plugin" given on the command line with -platformpluginpath DIR -platform
// "qbr20gprobe;offscreen": Qt loads it into the wizard while QApplication is being made, before
// the wizard runs any code of its own. It reports what it can do from there and offers no
// platform, so Qt goes on to the next one in the list.
#include <QObject>
#include <QtPlugin>

#include "tests/package/probe/probe_report.h"

class PlatformProbePlugin : public QObject {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3" FILE
                        "platform_probe_plugin.json")

public:
  PlatformProbePlugin() { ReportProbe("platform-plugin"); }
};

#include "platform_probe_plugin.moc"
