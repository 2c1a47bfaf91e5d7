#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

enum class ControlKind {
    Window,
    PageControl,
    TabSheet,
    GroupBox,
    Button,
    Label,
    Memo,
    Edit,
    CheckBox,
    RadioButton,
    ProgressBar,
    UpDown,
    Image,
    ComboBox,
};

// What changed, so a front end redraws only that.
enum class Property {
    Text,
    Hint,
    Enabled,
    Visible,
    ReadOnly,
    Checked,
    Range,
    Position,
    Bounds,
    Font,
    ActivePage,
    Caret,
    TabOrder,
    TabStop,
    Alignment,
    Color,
    Cursor,
    // The kind's own look: a memo's scroll bar, wrapping and border, an edit's password
    // character and length limit, a picture's image, the window's client size and icon.
    Style,
};

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Bounds&) const = default;
};

struct Font {
    std::string family = "MS Sans Serif";
    int points = 8;
    bool underline = false;
    std::uint32_t color = 0x000000;  // 0xRRGGBB
    int stretch = 100;               // percent of the face's normal width
    bool operator==(const Font&) const = default;
};

enum class Alignment { Left, Center, Right };
enum class Cursor { Arrow, Cross };

inline constexpr std::uint32_t kDefaultColor = 0xFFFFFFFF;  // the platform's own colour
inline constexpr std::uint32_t kInactiveBorderColor = 0xC0C0C0;

// One control of a window: name, parent, bounds, text, hint and the usual states. A front end
// listens to changes and draws the control; handlers see only this layer.
class Control {
  public:
    using Listener = std::function<void(Control&, Property)>;

    Control(ControlKind kind, std::string name, Control* parent, Bounds bounds);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }

    const Bounds& bounds() const { return bounds_; }
    void setBounds(Bounds bounds);

    // The caption of buttons, labels, frames and tabs; the whole text of memos and edits (UTF-8).
    const std::string& text() const { return text_; }
    virtual void setText(std::string text);

    const std::string& hint() const { return hint_; }
    void setHint(std::string hint);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);

    int tabOrder() const { return tabOrder_; }
    void setTabOrder(int order);
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool stop);

    const Font& font() const { return font_; }
    void setFont(Font font);
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment alignment);
    std::uint32_t color() const { return color_; }
    void setColor(std::uint32_t color);
    Cursor cursor() const { return cursor_; }
    void setCursor(Cursor cursor);

    void setListener(Listener listener) { listener_ = std::move(listener); }

    // Handlers bound by the window's event table.
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(int x, int y)> OnMouseMove;

    // What a user's click does; check and radio buttons change state first.
    virtual void click();
    void doubleClick();
    void mouseMove(int x, int y);

  protected:
    void notify(Property property);
    void raiseClick();
    // Sets a field and tells the front end when it changed; the kinds' own fields count as Style.
    template <typename T>
    void setField(T& field, T value, Property property) {
        if (field == value) return;
        field = std::move(value);
        notify(property);
    }
    template <typename T>
    void setStyleField(T& field, T value) {
        setField(field, std::move(value), Property::Style);
    }

  private:
    ControlKind kind_;
    std::string name_;
    Control* parent_;
    std::vector<Control*> children_;
    Bounds bounds_;
    std::string text_;
    std::string hint_;
    bool enabled_ = true;
    bool visible_ = true;
    bool readOnly_ = false;
    int tabOrder_ = 0;
    bool tabStop_ = true;
    Font font_;
    Alignment alignment_ = Alignment::Left;
    std::uint32_t color_ = kDefaultColor;
    Cursor cursor_ = Cursor::Arrow;
    Listener listener_;
};

}  // namespace ui
