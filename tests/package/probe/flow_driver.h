// Drives the wizard's pages from inside it, by the controls' object names ("control_<id>"), as a
// user does: the first bridge, the network "Workshop", its passphrase, the save, and the end on
// the finish page. Each step is noted in the probe report.
#pragma once

void StartFlowDriver();
