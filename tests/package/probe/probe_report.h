// What a plugin smuggled into the wizard can do there: one line of the report file named by
// QBR20G_PROBE_REPORT, saying which plugin ran in which program, with which effective
// capabilities, and whether it could open a packet socket.
#pragma once

// Appends "WHO exe=PROGRAM CapEff=HEX packet_socket=opened|<error>" to the report.
void ReportProbe(const char* who);
// Appends a free line (the flow driver's progress).
void ReportLine(const char* line);
