#include "qt/picture_widget.h"

#include "qt/pictures.h"

namespace varn::desktop {

PictureWidget::PictureWidget(ui::Image& image, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(image, parent, dispatcher) {
    setScaledContents(image.stretch);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setPixmap(DrawPicture(image.resource));
}

}  // namespace varn::desktop
