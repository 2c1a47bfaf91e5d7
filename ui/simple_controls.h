#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// Controls that only hold a caption and raise events.
class Button : public Control {
  public:
    Button(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::Button, std::move(name), parent, bounds) {}
};

class Label : public Control {
  public:
    Label(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::Label, std::move(name), parent, bounds) {}
};

class GroupBox : public Control {
  public:
    GroupBox(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::GroupBox, std::move(name), parent, bounds) {}
};

class TabSheet : public Control {
  public:
    TabSheet(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::TabSheet, std::move(name), parent, bounds) {}
};

// A picture: the front end looks up the image by its resource name.
class Image : public Control {
  public:
    Image(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::Image, std::move(name), parent, bounds) {}
    std::string resource;
    bool stretch = false;
};

// The top-level window.
class Window : public Control {
  public:
    Window(std::string name, Bounds bounds)
        : Control(ControlKind::Window, std::move(name), nullptr, bounds) {}
    int clientWidth = 0;
    int clientHeight = 0;
    bool resizable = false;
    std::string icon;
};

}  // namespace ui
