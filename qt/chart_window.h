#pragma once

#include <QWidget>
#include <cstddef>
#include <optional>

#include "app/form1.h"
#include "qt/control_view.h"

class QCheckBox;
class QLabel;
class QPainter;
class QPushButton;
class QRadioButton;

namespace varn::desktop {

// Colours of the two kinds of bar, shared by the drawing and its tests.
inline constexpr QRgb kFileBarColor = 0xFF2F5F9F;
inline constexpr QRgb kLanguageBarColor = 0xFFE8A33C;
inline constexpr QRgb kSelectedBarColor = 0xFFC0392B;

// The chart as a picture of any size: geometry and drawing from a snapshot alone, so a copy can
// be drawn anywhere (the screen, a PNG, an SVG drawing) at any device pixel ratio.
class ChartPicture {
  public:
    ChartSnapshot snapshot;

    // The file's bar and the language's bar of slot `i` in a picture of `size`.
    QRectF barRect(std::size_t i, QSizeF size) const;
    QRectF languageBarRect(std::size_t i, QSizeF size) const;
    // The slot under a point, if any.
    std::optional<std::size_t> slotAt(QPointF point, QSizeF size) const;
    // Draws the chart into `size`; with `withStatistics`, the statistics lines below it.
    void paint(QPainter& painter, QSizeF size, bool withStatistics) const;
    // What a slot shows, in words: its letters, count and shares.
    QString describeSlot(std::size_t i) const;
    // The height the statistics lines take under the chart with the painter's font.
    double statisticsHeight(const QFont& font) const;

  private:
    std::size_t slotCount() const;
    QRectF plotArea(QSizeF size) const;
    double scaleTop() const;  // the share at the top of the plot
};

// The chart on the screen: a click on a slot is forwarded.
class ChartCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit ChartCanvas(QWidget* parent);

    void show(const ChartSnapshot& snapshot);
    const ChartSnapshot& snapshot() const { return picture_.snapshot; }
    const ChartPicture& picture() const { return picture_; }

    QRectF barRect(std::size_t i) const { return picture_.barRect(i, QSizeF(size())); }
    QRectF languageBarRect(std::size_t i) const {
        return picture_.languageBarRect(i, QSizeF(size()));
    }

  signals:
    void slotClicked(std::size_t slot);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    ChartPicture picture_;
};

// The non-modal window of the letter chart, beside the main window. It shows what the form's
// chart state says and forwards clicks to the form's chart handlers through the dispatcher.
class ChartWindow : public QWidget {
    Q_OBJECT
  public:
    ChartWindow(TForm1& form, Dispatcher& dispatcher, QWidget* mainWindow);
    ~ChartWindow() override;

    ChartCanvas* canvas() const { return canvas_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* undoButton() const { return undo_; }
    QCheckBox* alphabeticalBox() const { return alphabetical_; }
    QRadioButton* bigramsButton() const { return bigrams_; }
    QLabel* statisticsLabel() const { return statistics_; }

    // The chart as it stands now, drawn as a picture's bytes when called (on any thread): PNG at
    // twice the window's pixels, or SVG.
    ChartRenderer renderer() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void show(const ChartSnapshot& snapshot);
    void placeBesideMainWindow();

    TForm1& form_;
    Dispatcher& dispatcher_;
    QWidget* mainWindow_;
    ChartCanvas* canvas_;
    QRadioButton* letters_;
    QRadioButton* bigrams_;
    QCheckBox* alphabetical_;
    QPushButton* undo_;
    QPushButton* export_;
    QLabel* hint_;
    QLabel* statistics_;
    bool placed_ = false;
};

}  // namespace varn::desktop
