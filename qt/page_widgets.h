#pragma once

#include <QGroupBox>
#include <QTabWidget>

#include "qt/control_view.h"
#include "ui/page_control.h"

namespace varn::desktop {

// The tabs: a user's change of tab goes to the layer, which raises its change event.
class PageControlWidget : public ControlWidget<QTabWidget> {
    Q_OBJECT
  public:
    PageControlWidget(ui::PageControl& pages, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;

  private:
    ui::PageControl& pages_;
};

// One tab's page; its text is the tab's caption.
class TabSheetWidget : public ControlWidget<QWidget> {
    Q_OBJECT
  public:
    TabSheetWidget(ui::TabSheet& sheet, QTabWidget& tabs, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;

  private:
    QTabWidget& tabs_;
};

// A frame with a caption.
class GroupBoxWidget : public ControlWidget<QGroupBox> {
    Q_OBJECT
  public:
    GroupBoxWidget(ui::Control& box, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;
};

}  // namespace varn::desktop
