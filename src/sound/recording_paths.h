#pragma once

#include <QString>

class Tcutpart;
class TaudioCD;
class TClassSoundCarriersUseSpecification;

// A path under a directory from a relative name whose parts may be joined
// with "\" or "/"; each part that does not exist as written is matched to an
// entry of another letter case. Parts that match nothing stay as written.
QString GLB_resolve_path(const QString& directory, const QString& relative);

// The file of an audio CD's track: the first file in the CD's folder whose
// name contains the track number as two digits. While the folder the disc
// carries is missing, the user is asked for the base directory; empty when
// the user cancels or no file matches.
QString GLB_audio_CD_track_file(const TaudioCD& cd, int track, bool carriedOnDisc);

// The folder that holds a CD's track files; empty when it has none.
QString GLB_audio_CD_folder(const TaudioCD& cd, bool carriedOnDisc);

// The file a recording plays from: its own file under "tapes", or the
// track file of its audio CD when the list's carriers have that CD as files
// (carried on the disc, or copied to the hard disk).
QString GLB_recording_file(const Tcutpart& cutPart, const TClassSoundCarriersUseSpecification& carriers);

// The same whatever a list's carriers say, for copies and audio-CD files:
// a CD not carried on the disc is looked for in its hard-disk folder, when
// it has one.
QString GLB_recording_file(const Tcutpart& cutPart);
