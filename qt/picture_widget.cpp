#include "qt/picture_widget.h"

#include "qt/pictures.h"

namespace varn::desktop {

PictureWidget::PictureWidget(ui::Image& image, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(image, parent, dispatcher), image_(image) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureWidget::updateOwn(ui::Property property) {
    if (property != ui::Property::Style) return;
    setScaledContents(image_.stretch());
    setPixmap(DrawPicture(image_.resource()));
}

}  // namespace varn::desktop
