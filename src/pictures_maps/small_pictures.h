#pragma once

// The species' small pictures (thumbnails in the list), decoded once and
// kept while some list line uses them.

#include "listview/show_string_record.h"

#include <QImage>
#include <QSize>

class TSmallPictureCache : public TSmallPictureSource {
  public:
    // Thumbnails larger than this are decoded at a smaller scale.
    static constexpr QSize kLargestThumbnail{160, 160};

    // Loads the picture on first use (a missing file is not looked for
    // again until the base directory changes) and counts the use.
    QSize acquire(const Tspecies& species) override;
    // Counts a use down; the picture is freed with its last use.
    void release(const Tspecies& species) override;
    void draw(QPainter& painter, const Tspecies& species, QPoint topLeft) override;
    bool hit_test(const Tspecies& species, QPoint topLeft, QPoint point) const override;

    // The loaded picture, or null.
    static const QImage* picture(const Tspecies& species);
};
