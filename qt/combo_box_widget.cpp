#include "qt/combo_box_widget.h"

#include <QSignalBlocker>

namespace varn::desktop {

ComboBoxWidget::ComboBoxWidget(ui::ComboBox& box, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(box, parent, dispatcher), box_(box) {
    connect(this, &QComboBox::activated, this, [this](int index) {
        dispatcher_.dispatch([this, index] { box_.choose(index); });
        // A refused or failed choice leaves the layer's index; show that one.
        updateOwn(ui::Property::Position);
    });
}

void ComboBoxWidget::updateOwn(ui::Property property) {
    const QSignalBlocker blocker(this);
    if (property == ui::Property::Style) {
        const std::vector<std::string>& items = box_.items();
        if (count() == static_cast<int>(items.size())) {
            for (int i = 0; i < count(); ++i) setItemText(i, QString::fromStdString(items[i]));
        } else {
            clear();
            for (const std::string& item : items) addItem(QString::fromStdString(item));
        }
        setCurrentIndex(box_.itemIndex());
    }
    if (property == ui::Property::Position && currentIndex() != box_.itemIndex()) {
        setCurrentIndex(box_.itemIndex());
    }
}

}  // namespace varn::desktop
