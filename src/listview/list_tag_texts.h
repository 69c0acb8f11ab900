#pragma once

#include "listview/line_texts.h"
#include "listview/show_strings_data.h"
#include "playlists/recording_tag_texts.h"

// The tag texts of a list's recordings, named as that list names them.
class TListTagTexts final : public TTagTextProvider {
  public:
    explicit TListTagTexts(const SHST_TClassShowStringsData& settings) : settings_(settings) {}
    TRecordingTagTexts tag_texts(const Tcupaitem& recording) const override;

  private:
    QString taxon_title(const Tcupaitem& recording) const;
    QString family_name(const Tspecies& species) const;
    QString comment(const Tcupaitem& recording) const;

    SHST_TClassShowStringsData settings_;
    TListWords words_;
};
