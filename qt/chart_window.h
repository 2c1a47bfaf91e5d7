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

// The bars of the chart, drawn with the painter at any size and device pixel ratio: the screen,
// a picture, a drawing in SVG.
class ChartCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit ChartCanvas(QWidget* parent);

    void show(const ChartSnapshot& snapshot);
    const ChartSnapshot& snapshot() const { return snapshot_; }

    // The file's bar and the language's bar of slot `i` in a picture of `size`.
    QRectF barRect(std::size_t i, QSizeF size) const;
    QRectF languageBarRect(std::size_t i, QSizeF size) const;
    QRectF barRect(std::size_t i) const { return barRect(i, QSizeF(size())); }
    // The slot under a point, if any.
    std::optional<std::size_t> slotAt(QPointF point) const;

    // Draws the chart into `size`; with `withStatistics`, the statistics lines below it.
    void paintChart(QPainter& painter, QSizeF size, bool withStatistics) const;

  signals:
    void slotClicked(std::size_t slot);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::size_t slotCount() const;
    QRectF plotArea(QSizeF size) const;
    double scaleTop() const;  // the share at the top of the plot

    ChartSnapshot snapshot_;
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

    // The chart as a picture's bytes: PNG at twice the window's pixels, or SVG.
    std::string render(ChartImageFormat format) const;

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
