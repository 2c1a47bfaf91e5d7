#include "qt/widget_factory.h"

#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "qt/button_widget.h"
#include "qt/combo_box_widget.h"
#include "qt/edit_widget.h"
#include "qt/label_widget.h"
#include "qt/memo_widget.h"
#include "qt/page_widgets.h"
#include "qt/picture_widget.h"
#include "qt/progress_bar_widget.h"
#include "qt/toggle_widgets.h"
#include "qt/up_down_widget.h"

namespace varn::desktop {

namespace {

ControlView* CreateView(ui::Control& control, QWidget* parent, Dispatcher& dispatcher) {
    switch (control.kind()) {
        case ui::ControlKind::PageControl:
            return new PageControlWidget(static_cast<ui::PageControl&>(control), parent,
                                         dispatcher);
        case ui::ControlKind::TabSheet:
            return new TabSheetWidget(static_cast<ui::TabSheet&>(control),
                                      *static_cast<QTabWidget*>(parent), dispatcher);
        case ui::ControlKind::GroupBox:
            return new GroupBoxWidget(control, parent, dispatcher);
        case ui::ControlKind::Button:
            return new ButtonWidget(control, parent, dispatcher);
        case ui::ControlKind::Label:
            return new LabelWidget(control, parent, dispatcher);
        case ui::ControlKind::Memo:
            return new MemoWidget(static_cast<ui::Memo&>(control), parent, dispatcher);
        case ui::ControlKind::Edit:
            return new EditWidget(static_cast<ui::Edit&>(control), parent, dispatcher);
        case ui::ControlKind::CheckBox:
            return new CheckBoxWidget(static_cast<ui::CheckBox&>(control), parent, dispatcher);
        case ui::ControlKind::RadioButton:
            return new RadioButtonWidget(static_cast<ui::RadioButton&>(control), parent,
                                         dispatcher);
        case ui::ControlKind::ProgressBar:
            return new ProgressBarWidget(static_cast<ui::ProgressBar&>(control), parent,
                                         dispatcher);
        case ui::ControlKind::UpDown:
            return new UpDownWidget(static_cast<ui::UpDown&>(control), parent, dispatcher);
        case ui::ControlKind::Image:
            return new PictureWidget(static_cast<ui::Image&>(control), parent, dispatcher);
        case ui::ControlKind::ComboBox:
            return new ComboBoxWidget(static_cast<ui::ComboBox&>(control), parent, dispatcher);
        case ui::ControlKind::Window:
            break;
    }
    return nullptr;
}

bool TakesFocus(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::Button:
        case ui::ControlKind::Memo:
        case ui::ControlKind::Edit:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
        case ui::ControlKind::PageControl:
        case ui::ControlKind::ComboBox:
            return true;
        default:
            return false;
    }
}

}  // namespace

void CreateControlWidgets(ui::Control& control, QWidget* parent, Dispatcher& dispatcher,
                          std::map<const ui::Control*, ControlView*>& views) {
    ControlView* view = CreateView(control, parent, dispatcher);
    if (!view) return;
    views[&control] = view;
    control.setListener([view, &dispatcher](ui::Control&, ui::Property property) {
        dispatcher.showChange(*view, property);
    });
    view->updateAll();
    if (control.kind() == ui::ControlKind::PageControl) {
        auto& pages = static_cast<ui::PageControl&>(control);
        // Adding the pages is no change of tab by the user.
        const QSignalBlocker blocker(view->widget());
        for (ui::TabSheet* sheet : pages.pages()) {
            CreateControlWidgets(*sheet, view->widget(), dispatcher, views);
        }
        view->update(ui::Property::ActivePage);
        return;
    }
    for (ui::Control* child : control.children()) {
        CreateControlWidgets(*child, view->widget(), dispatcher, views);
    }
}

void ApplyTabOrder(const ui::Control& root,
                   const std::map<const ui::Control*, ControlView*>& views) {
    std::vector<const ui::Control*> chain;
    for (const ui::Control* child : root.children()) {
        if (TakesFocus(child->kind()) && child->tabStop() && views.contains(child)) {
            chain.push_back(child);
        }
    }
    std::stable_sort(chain.begin(), chain.end(), [](const ui::Control* a, const ui::Control* b) {
        return a->tabOrder() < b->tabOrder();
    });
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(views.at(chain[i - 1])->widget(), views.at(chain[i])->widget());
    }
    for (const ui::Control* child : root.children()) ApplyTabOrder(*child, views);
}

}  // namespace varn::desktop
