#pragma once

#include <QString>

class Tcutpart;

// The file a recording's sound lies in: its own file under "tapes\" for a
// cut-part file, else the track file of its audio CD (carried on the disc
// under "Audio CDs\", or copied to the hard disk). Asks for the base
// directory while a carried CD's folder is missing; empty when the user
// gives up or no track file matches.
QString GLB_recording_file_path(const Tcutpart& cutPart);

// The first file of the folder whose name holds the track number written
// with at least two digits; empty when none does.
QString GLB_track_file_in(const QString& folder, int track);
