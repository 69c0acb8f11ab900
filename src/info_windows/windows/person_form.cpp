#include "info_windows/windows/person_form.h"

#include "data/people_places.h"
#include "formats/textfile.h"
#include "info_windows/windows/web_browser_form.h"
#include "listview/list_fonts.h"

TPersonForm::TPersonForm(QWidget* host) : TFormWithUnderlinedItems(host) {}

void TPersonForm::show_person(const Tperson& person, QPoint at, bool copyrightLine) {
    QStringList labels;
    GLB_texts().lines(QStringLiteral("PERSONAL"), labels, 2);
    layout_ = GLB_person_layout(person, copyrightLine, labels, GLB_list_font_measurer(),
                                line_height());
    set_link(layout_.link_address);
    show_at(at, QSize(layout_.width, layout_.height));
}

void TPersonForm::paint_text(TTextCanvas& canvas) {
    const int lh = line_height();
    const int nameBaseline = lh + 1;
    const TListFont& standard = GLB_list_fonts().standard();
    canvas.select_font(GLB_list_fonts().font(list_font::kBold, 0, list_font::kNormal));
    canvas.move_to(kInformationTextLeft, nameBaseline);
    GLB_draw_text(canvas, lh, false, layout_.name_line);
    for (const TPersonBlock& block : layout_.blocks) {
        canvas.select_font(standard);
        canvas.underline = false;
        const int firstBaseline = nameBaseline + block.first_line * lh;
        canvas.move_to(kInformationTextLeft, firstBaseline);
        GLB_draw_text(canvas, lh, false, block.label);
        canvas.underline = block.link;
        canvas.move_to(kInformationTextLeft + block.label_width,
                       firstBaseline + (block.line_count - 1) * lh);
        GLB_draw_text(canvas, lh, false, block.text);
        canvas.underline = false;
    }
}

void TPersonForm::press(QPoint point) {
    // The whole lines of the address open it, not only its letters; the
    // address always goes to the system's browser.
    if (layout_.link_top >= 0 && point.y() >= layout_.link_top)
        GLB_open_web_page(layout_.link_address, true);
}
