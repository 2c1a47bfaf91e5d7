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
    const std::string& resource() const { return resource_; }
    void setResource(std::string resource) { setStyleField(resource_, std::move(resource)); }
    // Stretched to the bounds rather than shown at its own size.
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch) { setStyleField(stretch_, stretch); }

  private:
    std::string resource_;
    bool stretch_ = false;
};

// The top-level window.
class Window : public Control {
  public:
    Window(std::string name, Bounds bounds)
        : Control(ControlKind::Window, std::move(name), nullptr, bounds) {}
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    void setClientSize(int width, int height) {
        setStyleField(clientWidth_, width);
        setStyleField(clientHeight_, height);
    }
    bool resizable() const { return resizable_; }
    void setResizable(bool resizable) { setStyleField(resizable_, resizable); }
    const std::string& icon() const { return icon_; }
    void setIcon(std::string icon) { setStyleField(icon_, std::move(icon)); }

  private:
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool resizable_ = false;
    std::string icon_;
};

}  // namespace ui
