#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>

namespace varn::desktop {

// The pictures of the window are drawn here at run time: a key over cipher letters in a frame.
// Unknown names give an empty pixmap.
QPixmap DrawPicture(const std::string& resource);

// The window icon, the same motif as the installed icon.
QIcon WindowIcon();

}  // namespace varn::desktop
