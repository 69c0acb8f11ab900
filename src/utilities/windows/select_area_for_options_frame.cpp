#include "utilities/windows/select_area_for_options_frame.h"

#include "app/editions.h"
#include "formats/textfile.h"
#include "data/areas.h"
#include "pictures_maps/windows/select_area_frame.h"

#include <QLabel>
#include <algorithm>

namespace {
const QString kSection = QStringLiteral("SELECT AREA FRAME");
const QString kExplanationSection = QStringLiteral("SELECT AREA FRAME PERU ETC");
constexpr int kExplainedLeft = 50;
constexpr int kExplanationGap = 25;
constexpr int kMargin = 5;
}  // namespace

TFrameSelectAreaForOptions::TFrameSelectAreaForOptions(QWidget* parent)
    : TOptionsFrame(parent), caption_(section_texts(kSection)[0]) {}

TFrameSelectAreaForOptions::~TFrameSelectAreaForOptions() = default;

void TFrameSelectAreaForOptions::fill(const TOptionsContext& context) {
    const TArea* area = context.settings.visible_set.selected_area();
    if (!area) return;
    const bool explained = GLB_edition().rules.area_page_explanation;
    delete area_frame_;
    area_frame_ = GLB_create_area_frame(area->frame_kind(), this, explained ? kExplainedLeft : 0);
    if (!area_frame_) return;
    area->LoadIntoFrame(*area_frame_);
    if (explained && !explanation_) {
        QStringList lines;
        GLB_texts().lines(kExplanationSection, lines, 9);
        explanation_ = new QLabel(lines.join(u'\n'), this);
        explanation_->setWordWrap(false);
    }
    area_frame_->show();
    updateGeometry();
    place();
}

void TFrameSelectAreaForOptions::store(TOptionsContext& context) {
    TArea* area = context.settings.visible_set.selected_area();
    if (!area || !area_frame_ || !area->FrameChanged(*area_frame_)) return;
    area->ReadFromFrame(*area_frame_);
    context.flags.changed = context.flags.rebuild = true;
}

bool TFrameSelectAreaForOptions::valid() const {
    return !area_frame_ || area_frame_->may_close();
}

QSize TFrameSelectAreaForOptions::minimumSizeHint() const {
    if (!area_frame_) return TOptionsFrame::minimumSizeHint();
    QSize size = area_frame_->size() + QSize(2 * kMargin, 2 * kMargin);
    if (explanation_) {
        const QSize note = explanation_->sizeHint();
        size.setWidth(kExplainedLeft + area_frame_->width() + kExplanationGap + note.width() + kMargin);
        size.setHeight(std::max(size.height(), note.height() + 2 * kMargin));
    }
    return size;
}

void TFrameSelectAreaForOptions::resizeEvent(QResizeEvent* event) {
    TOptionsFrame::resizeEvent(event);
    place();
}

void TFrameSelectAreaForOptions::place() {
    if (!area_frame_) return;
    const int top = std::max(kMargin, (height() - area_frame_->height()) / 2);
    const int left =
        explanation_ ? kExplainedLeft : std::max(kMargin, (width() - area_frame_->width()) / 2);
    area_frame_->move(left, top);
    if (explanation_) {
        explanation_->adjustSize();
        explanation_->move(left + area_frame_->width() + kExplanationGap,
                           top + (area_frame_->height() - explanation_->height()) / 2);
    }
}
