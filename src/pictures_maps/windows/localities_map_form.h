#pragma once

// Every recording locality at once as a dot on the edition's base map, with
// a tooltip about the one under the mouse; a click opens its site
// description.

#include "pictures_maps/localities_layout.h"
#include "pictures_maps/windows/map_form.h"

#include <QPointer>
#include <functional>
#include <vector>

#include "listview/windows/tooltip_form.h"

class TLocalitiesMapForm : public TMapForm {
    Q_OBJECT
  public:
    using TLocalityFilter = std::function<bool(const Tlocality&)>;

    explicit TLocalitiesMapForm(QWidget* opener = nullptr);
    ~TLocalitiesMapForm() override;

    // Chooses the edition's map (country "Bolivia", no map type, no place)
    // and shows it with the localities the filter lets through (all without
    // one).
    void ShowLocalitiesMap(const Tspecies* species, const Tlocality* locality, bool releaseOnClose,
                           const QString& caption, TLocalityFilter filter = {});

    const TLocalitiesLayout& dots() const { return dots_; }
    const std::vector<const Tlocality*>& localities() const { return localities_; }
    int hovered() const { return hovered_; }
    // The dot the keyboard is on (the arrows walk the dots, Enter opens its
    // site description); -1 before the first arrow.
    int keyboard_dot() const { return keyboard_dot_; }
    TTooltipForm* tooltip() const { return tooltip_; }
    // The lines of the tooltip for a locality.
    static QString tooltip_text(const Tlocality& locality, int wrapWidth, const QFont& font);

  protected:
    int choose_row(const Tspecies* species, const Tlocality* locality) const override;
    void after_build() override;
    void paint_over(QPainter& painter) override;
    void canvas_mouse_move(QPoint canvasPoint) override;
    bool canvas_mouse_press(QPoint canvasPoint) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void release_tooltip();
    // Shows the tooltip of dot `index` (canvas point `dot`), as the mouse
    // over it does.
    void show_tooltip(int index, QPoint dot, bool for_keyboard = false);
    QPoint canvas_point_of(int index) const;
    void walk_to(int index);

    TLocalityFilter filter_;
    std::vector<const Tlocality*> localities_;
    TLocalitiesLayout dots_;
    bool built_ = false;
    int hovered_ = -1;
    int keyboard_dot_ = -1;
    QPointer<TTooltipForm> tooltip_;
};

// The process's one localities map, made on first use.
TLocalitiesMapForm& GLB_localities_map();
