#include "qt/page_widgets.h"

#include <QSignalBlocker>

namespace varn::desktop {

PageControlWidget::PageControlWidget(ui::PageControl& pages, QWidget* parent,
                                     Dispatcher& dispatcher)
    : ControlWidget(pages, parent, dispatcher), pages_(pages) {
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        dispatcher_.dispatch([this, index] { pages_.setActivePageIndex(index); });
        // A handler may keep the layer's page; the tabs show what the layer holds.
        if (currentIndex() != pages_.activePageIndex()) updateOwn(ui::Property::ActivePage);
    });
}

void PageControlWidget::updateOwn(ui::Property property) {
    if (property == ui::Property::ActivePage && currentIndex() != pages_.activePageIndex()) {
        const QSignalBlocker blocker(this);
        setCurrentIndex(pages_.activePageIndex());
    }
}

TabSheetWidget::TabSheetWidget(ui::TabSheet& sheet, QTabWidget& tabs, Dispatcher& dispatcher)
    : ControlWidget(sheet, nullptr, dispatcher), tabs_(tabs) {
    tabs_.addTab(this, QString::fromStdString(sheet.text()));
}

void TabSheetWidget::updateOwn(ui::Property property) {
    if (property != ui::Property::Text) return;
    const int index = tabs_.indexOf(this);
    if (index >= 0) tabs_.setTabText(index, QString::fromStdString(control_.text()));
}

GroupBoxWidget::GroupBoxWidget(ui::Control& box, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(box, parent, dispatcher) {}

void GroupBoxWidget::updateOwn(ui::Property property) {
    if (property == ui::Property::Text) setTitle(QString::fromStdString(control_.text()));
}

}  // namespace varn::desktop
