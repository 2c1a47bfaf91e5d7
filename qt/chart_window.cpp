#include "qt/chart_window.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSvgGenerator>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "analysis/number_format.h"
#include "qt/window_thread.h"
#include "ui/cp1251.h"

namespace varn::desktop {

namespace {

constexpr double kLeftMargin = 46, kRightMargin = 10, kTopMargin = 28, kBottomMargin = 42;
constexpr int kGap = 8;  // between the chart window and the main window

// A letter as the user reads it: the blank as an open box, control characters by their code.
QString LetterText(unsigned char c) {
    if (c == ' ') return QString(QChar(0x2423));
    if (c < 32 || c == 127) return QString::number(c);
    return QString::fromStdString(ui::DecodeCp1251(std::string(1, static_cast<char>(c))));
}

// A share on the scale, with the separator every number of the program uses.
QString Percent(double share, int decimals) {
    return QString::number(share * 100, 'f', decimals).replace('.', QChar(DecimalSeparator())) +
           "%";
}

}  // namespace

ChartCanvas::ChartCanvas(QWidget* parent) : QWidget(parent) {
    setMinimumSize(560, 260);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartCanvas::show(const ChartSnapshot& snapshot) {
    picture_.snapshot = snapshot;
    update();
}

std::size_t ChartPicture::slotCount() const {
    if (!snapshot.counted) return 0;
    return snapshot.view == ChartView::Letters ? snapshot.chart.bars.size()
                                               : snapshot.bigrams.size();
}

QRectF ChartPicture::plotArea(QSizeF size) const {
    return QRectF(kLeftMargin, kTopMargin, std::max(1.0, size.width() - kLeftMargin - kRightMargin),
                  std::max(1.0, size.height() - kTopMargin - kBottomMargin));
}

double ChartPicture::scaleTop() const {
    double highest = 0;
    if (snapshot.view == ChartView::Letters) {
        for (const ChartBar& bar : snapshot.chart.bars) {
            highest = std::max({highest, bar.share, bar.expectedShare});
        }
    } else {
        for (const BigramBar& bar : snapshot.bigrams) highest = std::max(highest, bar.share);
    }
    if (highest <= 0) return 0.1;
    // A round top with at most six grid steps.
    for (const double step : {0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.25}) {
        if (highest / step <= 6) return std::ceil(highest / step - 1e-9) * step;
    }
    return 1.0;
}

QRectF ChartPicture::barRect(std::size_t i, QSizeF size) const {
    const QRectF plot = plotArea(size);
    const std::size_t slotTotal = std::max<std::size_t>(1, slotCount());
    const double slot = plot.width() / static_cast<double>(slotTotal);
    double share = 0;
    double width = slot * 0.7;
    if (snapshot.view == ChartView::Letters) {
        if (i < snapshot.chart.bars.size()) share = snapshot.chart.bars[i].share;
        width = slot * 0.42;
    } else if (i < snapshot.bigrams.size()) {
        share = snapshot.bigrams[i].share;
    }
    const double height = share / scaleTop() * plot.height();
    const double left = plot.left() + slot * static_cast<double>(i) + slot * 0.12;
    return QRectF(left, plot.bottom() - height, width, height);
}

QRectF ChartPicture::languageBarRect(std::size_t i, QSizeF size) const {
    if (snapshot.view != ChartView::Letters || i >= snapshot.chart.bars.size()) return {};
    const QRectF plot = plotArea(size);
    const QRectF file = barRect(i, size);
    const double slot = plot.width() / static_cast<double>(std::max<std::size_t>(1, slotCount()));
    const double height = snapshot.chart.bars[i].expectedShare / scaleTop() * plot.height();
    return QRectF(file.right(), plot.bottom() - height, slot * 0.3, height);
}

std::optional<std::size_t> ChartPicture::slotAt(QPointF point, QSizeF size) const {
    const QRectF plot = plotArea(size);
    const std::size_t slotTotal = slotCount();
    if (slotTotal == 0 || point.x() < plot.left() || point.x() >= plot.right() ||
        point.y() < plot.top() || point.y() > plot.bottom() + kBottomMargin) {
        return std::nullopt;
    }
    const double slot = plot.width() / static_cast<double>(slotTotal);
    return std::min(slotTotal - 1, static_cast<std::size_t>((point.x() - plot.left()) / slot));
}

double ChartPicture::statisticsHeight(const QFont& font) const {
    return static_cast<double>(snapshot.statistics.size()) * QFontMetricsF(font).lineSpacing() + 10;
}

void ChartPicture::paint(QPainter& painter, QSizeF size, bool withStatistics) const {
    const ChartTexts texts = ChartTextsIn(snapshot.russian);
    const QFontMetricsF metrics(painter.font());
    QSizeF chartSize = size;
    if (withStatistics) {
        chartSize.rheight() -= statisticsHeight(painter.font());
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QRectF plot = plotArea(chartSize);

    if (slotCount() == 0) {
        painter.setPen(Qt::darkGray);
        painter.drawText(QRectF(QPointF(0, 0), chartSize), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(texts.nothingCounted));
    } else {
        // Grid and scale.
        const double top = scaleTop();
        const int steps = static_cast<int>(std::lround(top / (top > 0.06 ? 0.05 : top / 5)));
        const double step = top / std::max(1, steps);
        for (int k = 0; k <= steps; ++k) {
            const double y = plot.bottom() - plot.height() * (step * k) / top;
            painter.setPen(QPen(QColor(k == 0 ? 0x606060 : 0xDDDDDD), 1));
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            painter.setPen(QColor(0x404040));
            painter.drawText(QRectF(0, y - 8, kLeftMargin - 5, 16),
                             Qt::AlignRight | Qt::AlignVCenter,
                             Percent(step * k, step < 0.01 ? 1 : 0));
        }
        const std::size_t slotTotal = slotCount();
        const double slot = plot.width() / static_cast<double>(slotTotal);
        const QFont baseFont = painter.font();
        QFont labelFont = baseFont;
        if (slot < 16) labelFont.setPointSizeF(labelFont.pointSizeF() * 0.8);
        // Narrow slots (a standard of every byte of a file) get a label every few slots only.
        const std::size_t labelEvery =
            slot >= 10 ? 1 : static_cast<std::size_t>(std::ceil(10 / std::max(slot, 0.1)));
        for (std::size_t i = 0; i < slotTotal; ++i) {
            const bool selected = snapshot.selected == i;
            painter.fillRect(barRect(i, chartSize),
                             QColor::fromRgba(selected ? kSelectedBarColor : kFileBarColor));
            QString upper, lower;
            if (snapshot.view == ChartView::Letters) {
                const ChartBar& bar = snapshot.chart.bars[i];
                painter.fillRect(languageBarRect(i, chartSize),
                                 QColor::fromRgba(kLanguageBarColor));
                upper = LetterText(bar.letter);
                // The arrow only where the slot has room for it beside the letter.
                if (bar.paired) {
                    lower =
                        (slot >= 26 ? QString(QChar(0x2192)) : QString()) + LetterText(bar.partner);
                }
            } else {
                const BigramBar& bar = snapshot.bigrams[i];
                upper = LetterText(bar.first) + LetterText(bar.second);
                lower = LetterText(snapshot.key[bar.first]) + LetterText(snapshot.key[bar.second]);
            }
            if (i % labelEvery != 0) continue;
            if (labelEvery > 1) lower.clear();
            const double left = plot.left() + slot * static_cast<double>(i);
            const double width = slot * static_cast<double>(labelEvery);
            QFont bold = labelFont;
            bold.setBold(true);
            painter.setFont(bold);
            painter.setPen(selected ? QColor::fromRgba(kSelectedBarColor) : QColor(Qt::black));
            painter.drawText(QRectF(left, plot.bottom() + 2, width, 17),
                             labelEvery == 1 ? Qt::AlignCenter : Qt::AlignLeft, upper);
            painter.setFont(labelFont);
            painter.setPen(QColor(0x8A5A00));
            painter.drawText(QRectF(left, plot.bottom() + 19, slot, 17), Qt::AlignCenter, lower);
        }
        painter.setFont(baseFont);
        // Legend.
        double x = plot.left();
        const auto legend = [&](QRgb color, const std::string& text) {
            painter.fillRect(QRectF(x, 9, 12, 12), QColor::fromRgba(color));
            painter.setPen(Qt::black);
            const QString label = QString::fromStdString(text);
            painter.drawText(QRectF(x + 16, 4, metrics.horizontalAdvance(label) + 4, 22),
                             Qt::AlignLeft | Qt::AlignVCenter, label);
            x += 16 + metrics.horizontalAdvance(label) + 18;
        };
        legend(kFileBarColor,
               snapshot.view == ChartView::Letters ? texts.legendFile : texts.legendBigrams);
        if (snapshot.view == ChartView::Letters) legend(kLanguageBarColor, texts.legendLanguage);
    }

    if (withStatistics) {
        painter.setPen(Qt::black);
        double y = chartSize.height() + 4;
        for (const std::string& line : snapshot.statistics) {
            painter.drawText(QRectF(8, y, size.width() - 16, metrics.lineSpacing()),
                             Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(line));
            y += metrics.lineSpacing();
        }
    }
}

QString ChartPicture::describeSlot(std::size_t i) const {
    const QString arrow = QString(" ") + QChar(0x2192) + " ";
    if (snapshot.view == ChartView::Letters && i < snapshot.chart.bars.size()) {
        const ChartBar& bar = snapshot.chart.bars[i];
        QString text = LetterText(bar.letter);
        if (bar.paired) text += arrow + LetterText(bar.partner);
        text += ": " + QString::fromStdString(FormatNumber(bar.count)) + " (" +
                Percent(bar.share, 2) + ")";
        if (bar.paired) {
            text += ", " + QString::fromStdString(ChartTextsIn(snapshot.russian).legendLanguage) +
                    " " + Percent(bar.expectedShare, 2);
        }
        return text;
    }
    if (snapshot.view == ChartView::Bigrams && i < snapshot.bigrams.size()) {
        const BigramBar& bar = snapshot.bigrams[i];
        return LetterText(bar.first) + LetterText(bar.second) + arrow +
               LetterText(snapshot.key[bar.first]) + LetterText(snapshot.key[bar.second]) + ": " +
               QString::fromStdString(FormatNumber(bar.count)) + " (" + Percent(bar.share, 2) + ")";
    }
    return {};
}

bool ChartCanvas::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const auto slot = picture_.slotAt(help->pos(), QSizeF(size()));
        if (slot) {
            QToolTip::showText(help->globalPos(), picture_.describeSlot(*slot), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void ChartCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    picture_.paint(painter, QSizeF(size()), false);
}

void ChartCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const auto slot = picture_.slotAt(event->position(), QSizeF(size()))) {
        emit slotClicked(*slot);
    }
}

ChartWindow::ChartWindow(TForm1& form, Dispatcher& dispatcher, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window),
      form_(form),
      dispatcher_(dispatcher),
      mainWindow_(mainWindow),
      canvas_(new ChartCanvas(this)),
      letters_(new QRadioButton(this)),
      bigrams_(new QRadioButton(this)),
      alphabetical_(new QCheckBox(this)),
      undo_(new QPushButton(this)),
      export_(new QPushButton(this)),
      hint_(new QLabel(this)),
      statistics_(new QLabel(this)) {
    setObjectName("ChartWindow");
    auto* controls = new QHBoxLayout;
    controls->addWidget(letters_);
    controls->addWidget(bigrams_);
    controls->addSpacing(12);
    controls->addWidget(alphabetical_);
    controls->addStretch(1);
    controls->addWidget(undo_);
    controls->addWidget(export_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(canvas_, 1);
    layout->addWidget(hint_);
    layout->addWidget(statistics_);
    hint_->setStyleSheet("color: #555555;");
    statistics_->setWordWrap(true);
    statistics_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    letters_->setChecked(true);
    resize(780, 500);

    const auto run = [this](std::function<void()> action) { dispatcher_.dispatch(action); };
    connect(letters_, &QRadioButton::clicked, this,
            [this, run] { run([this] { form_.ChartViewClick(ChartView::Letters); }); });
    connect(bigrams_, &QRadioButton::clicked, this,
            [this, run] { run([this] { form_.ChartViewClick(ChartView::Bigrams); }); });
    connect(alphabetical_, &QCheckBox::clicked, this, [this, run](bool checked) {
        run([this, checked] { form_.ChartAlphabeticalClick(checked); });
    });
    connect(undo_, &QPushButton::clicked, this,
            [this, run] { run([this] { form_.ChartUndoClick(); }); });
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    connect(undoKey, &QShortcut::activated, this,
            [this, run] { run([this] { form_.ChartUndoClick(); }); });
    connect(export_, &QPushButton::clicked, this,
            [this, run] { run([this, render = renderer()] { form_.ChartExportClick(render); }); });
    connect(canvas_, &ChartCanvas::slotClicked, this,
            [this, run](std::size_t slot) { run([this, slot] { form_.ChartBarClick(slot); }); });

    // The form tells from its handler's thread: the window follows on its own thread before the
    // handler goes on, as every widget of the main window does.
    form_.chart.OnChange = [this](const ChartSnapshot& snapshot) {
        WindowThreadHandoff().Run([this, &snapshot] { show(snapshot); });
    };
    show(form_.chart.snapshot);
}

ChartWindow::~ChartWindow() {
    form_.chart.OnChange = nullptr;
}

void ChartWindow::show(const ChartSnapshot& snapshot) {
    const ChartTexts texts = ChartTextsIn(snapshot.russian);
    setWindowTitle(QString::fromStdString(texts.title));
    letters_->setText(QString::fromStdString(texts.letters));
    bigrams_->setText(QString::fromStdString(texts.bigrams));
    alphabetical_->setText(QString::fromStdString(texts.alphabetical));
    undo_->setText(QString::fromStdString(texts.undo));
    export_->setText(QString::fromStdString(texts.exportImage));
    hint_->setText(QString::fromStdString(texts.hint));
    letters_->setChecked(snapshot.view == ChartView::Letters);
    bigrams_->setChecked(snapshot.view == ChartView::Bigrams);
    alphabetical_->setChecked(snapshot.order == ChartOrder::Alphabetical);
    alphabetical_->setEnabled(snapshot.view == ChartView::Letters);
    hint_->setVisible(snapshot.view == ChartView::Letters);
    undo_->setEnabled(snapshot.canUndo);
    QStringList lines;
    for (const std::string& line : snapshot.statistics) lines << QString::fromStdString(line);
    statistics_->setText(snapshot.counted ? lines.join("\n") : QString());
    const std::uint64_t openings = canvas_->snapshot().openings;
    canvas_->show(snapshot);

    if (!snapshot.shown) {
        if (isVisible()) hide();
        return;
    }
    if (!isVisible()) {
        if (!placed_) placeBesideMainWindow();
        placed_ = true;
        QWidget::show();
    }
    if (snapshot.openings != openings) {
        raise();
        activateWindow();
    }
}

void ChartWindow::placeBesideMainWindow() {
    if (!mainWindow_) return;
    const QRect main = mainWindow_->frameGeometry();
    QScreen* screen = mainWindow_->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 4096, 4096);
    const QSize frame = size() + QSize(8, 34);
    int left = main.right() + kGap;
    if (left + frame.width() > available.right()) left = main.left() - kGap - frame.width();
    left = std::clamp(left, available.left(),
                      std::max(available.left(), available.right() - frame.width()));
    const int top = std::clamp(main.top(), available.top(),
                               std::max(available.top(), available.bottom() - frame.height()));
    move(left, top);
}

ChartRenderer ChartWindow::renderer() const {
    // Everything the drawing needs is copied here, on the window's thread.
    ChartPicture picture = canvas_->picture();
    picture.snapshot.selected.reset();  // a half-made exchange is no part of the picture
    const QFont font = this->font();
    const QString title = windowTitle();
    QSizeF size = canvas_->size();
    if (size.width() < 100 || size.height() < 100) size = QSizeF(760, 360);
    size.rheight() += picture.statisticsHeight(font);
    return [picture, font, title, size](ChartImageFormat format) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (format == ChartImageFormat::Svg) {
            QSvgGenerator generator;
            generator.setOutputDevice(&buffer);
            generator.setSize(size.toSize());
            generator.setViewBox(QRectF(QPointF(0, 0), size));
            generator.setTitle(title);
            QPainter painter(&generator);
            painter.setFont(font);
            picture.paint(painter, size, true);
        } else {
            // Twice the pixels, so the picture stays sharp on a dense screen or in print.
            QImage image((size * 2).toSize(), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(2);
            {
                QPainter painter(&image);
                painter.setFont(font);
                picture.paint(painter, size, true);
            }
            image.save(&buffer, "PNG");
        }
        return buffer.data().toStdString();
    };
}

void ChartWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    dispatcher_.dispatch([this] { form_.ChartClosed(); });
}

}  // namespace varn::desktop
