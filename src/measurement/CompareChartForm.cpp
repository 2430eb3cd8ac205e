#include "measurement/CompareChartForm.h"

#include "link/Clock.h"
#include "measurement/CompareChartDrawing.h"
#include "measurement/CompareChartHover.h"
#include "measurement/CompareValuesModel.h"
#include "ui/TimeTexts.h"
#include "ui/WideLanguageHandler.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>
#include <QValueAxis>
#include <QWheelEvent>

#include <cmath>

namespace {

const QColor LineColour(255, 0, 0);
constexpr int LineWidth = 2;
constexpr int MarkSize = 9;
constexpr int TitlePoints = 12;
constexpr int AxisLabelPoints = 8;
constexpr int ListPoints = 8;
// Room between two time labels of the horizontal axis.
constexpr int LabelGap = 14;
// Plot width assumed before the chart has been laid out.
constexpr int ChartFrameAllowance = 90;
// The pause box, at the right end of the title panel.
constexpr int PauseMargin = 6;
// One notch of a mouse wheel.
constexpr double WheelNotch = 120.0;
// The keys Left and Right move the view by this share of its span.
constexpr double KeyPanShare = 0.1;

// The red diamond drawn at every point, at the screen's pixel density, so
// that drawing it needs no scaling.
QImage DiamondMark() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    const int pixels = static_cast<int>(MarkSize * ratio);
    QImage mark(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(LineColour);
    const qreal c = mark.width() / 2.0;
    const QPointF diamond[] = {{c, 0}, {2 * c, c}, {c, 2 * c}, {0, c}};
    painter.drawPolygon(diamond, 4);
    return mark;
}

QWidget* WhitePanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    return panel;
}

// A label text the axis does not have yet: QCategoryAxis wants unique
// labels, and a history longer than a day repeats its times. Zero-width
// spaces keep the text as it looks.
QString UniqueLabel(const QString& text, const QStringList& taken) {
    QString label = text;
    while (taken.contains(label))
        label += QChar(0x200B);
    return label;
}

} // namespace

TCompareChartForm::TCompareChartForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("CompareChartForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    TitlePanel = new QLabel(this);
    TitlePanel->setObjectName(QStringLiteral("TitlePanel"));
    TitlePanel->setAlignment(Qt::AlignCenter);
    TitlePanel->setAutoFillBackground(true);
    TitlePanel->setPalette(background);
    TitlePanel->setTextFormat(Qt::PlainText);
    QFont titleFont = TitlePanel->font();
    titleFont.setPointSize(TitlePoints);
    TitlePanel->setFont(titleFont);

    ChartPanel = WhitePanel(this, "ChartPanel");
    TablePanel = WhitePanel(this, "TablePanel");

    chart_ = new QChart();
    chart_->legend()->hide();
    chart_->setTitle(QString());
    chart_->setBackgroundRoundness(0);
    chart_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundPen(Qt::NoPen);
    chart_->setPlotAreaBackgroundVisible(false);
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setMargins(QMargins(4, 4, 8, 4));

    timeAxis_ = new QCategoryAxis(chart_);
    timeAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    timeAxis_->setGridLineVisible(false);
    QFont axisFont = timeAxis_->labelsFont();
    axisFont.setPointSize(AxisLabelPoints);
    timeAxis_->setLabelsFont(axisFont);
    valueAxis_ = new QValueAxis(chart_);
    valueAxis_->setLabelsFont(axisFont);
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);

    Series1 = NewRun();
    Series1->setObjectName(QStringLiteral("Series1"));

    CompareChart = new QChartView(chart_, ChartPanel);
    CompareChart->setObjectName(QStringLiteral("CompareChart"));
    CompareChart->setRenderHint(QPainter::Antialiasing);
    CompareChart->setFrameShape(QFrame::NoFrame);
    CompareChart->setRubberBand(QChartView::NoRubberBand);
    CompareChart->setBackgroundBrush(Qt::white);
    CompareChart->setFocusPolicy(Qt::StrongFocus);
    CompareChart->installEventFilter(this);
    CompareChart->viewport()->setMouseTracking(true);
    CompareChart->viewport()->installEventFilter(this);
    hover_ = std::make_unique<CompareChartHover>(chart_);

    PauseCheckBox = new QCheckBox(TitlePanel);
    PauseCheckBox->setObjectName(QStringLiteral("PauseCheckBox"));
    connect(PauseCheckBox, &QCheckBox::toggled, this, &TCompareChartForm::SetPaused);

    ValuesListView = new QTreeView(TablePanel);
    ValuesListView->setObjectName(QStringLiteral("ValuesListView"));
    model_ = new CompareValuesModel(points_, this);
    ValuesListView->setModel(model_);
    ValuesListView->setRootIsDecorated(false);
    ValuesListView->setItemsExpandable(false);
    ValuesListView->setUniformRowHeights(true);
    ValuesListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ValuesListView->setSelectionMode(QAbstractItemView::SingleSelection);
    ValuesListView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ValuesListView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ValuesListView->header()->setSectionsClickable(false);
    ValuesListView->header()->setSectionsMovable(false);
    ValuesListView->header()->setStretchLastSection(false);
    ValuesListView->header()->setDefaultAlignment(Qt::AlignCenter);
    // Small enough that "hh:nn:ss" fits beside the value in the narrow panel.
    QFont listFont = ValuesListView->font();
    listFont.setPointSize(ListPoints);
    ValuesListView->setFont(listFont);
    ValuesListView->header()->setFont(listFont);

    ReadTimer.setInterval(ReadIntervalMs);
    connect(&ReadTimer, &QTimer::timeout, this, &TCompareChartForm::ReadTimerTimer);
    resize(600, 400);
    TranslateCompareChart();
}

TCompareChartForm::~TCompareChartForm() {
    emit Destroying(this);
    ReadTimer.stop();
    // The list reads the points, which go before the widgets do.
    ValuesListView->setModel(nullptr);
}

QString TCompareChartForm::Title() const {
    return TitlePanel->text();
}

QLineSeries* TCompareChartForm::NewRun() {
    auto* series = new QLineSeries(chart_);
    QPen pen(LineColour);
    pen.setWidth(LineWidth);
    series->setPen(pen);
    series->setLightMarker(DiamondMark());
    series->setMarkerSize(MarkSize);
    chart_->addSeries(series);
    series->attachAxis(timeAxis_);
    series->attachAxis(valueAxis_);
    runs_.push_back(series);
    return series;
}

void TCompareChartForm::SetupCompareChart(MeasurementHistorySource* area,
                                          const TMeasurementValueArray& history, int position,
                                          const QString& title) {
    area_ = area;
    points_ = ComparePoints(static_cast<std::size_t>(std::clamp(position, 0, 11)));
    range_ = CompareChartRange();
    model_->PointsCleared();
    TitlePanel->setText(title);
    AppendMeasurements(history);
    TheClock().ProcessMessages();
}

void TCompareChartForm::ReadTimerTimer() {
    if (area_ != nullptr && !Paused())
        AppendMeasurements(area_->GetMeasurementHistory());
}

void TCompareChartForm::TranslateCompareChart() {
    PauseCheckBox->setText(GetText(PauseTextId));
    LayoutPanels();
}

bool TCompareChartForm::Paused() const {
    return PauseCheckBox->isChecked();
}

void TCompareChartForm::SetPaused(bool paused) {
    if (PauseCheckBox->isChecked() != paused) {
        PauseCheckBox->setChecked(paused); // comes back here through toggled
        return;
    }
    if (paused) {
        ReadTimer.stop();
        return;
    }
    ReadTimerTimer();
    if (isVisible())
        ReadTimer.start();
}

void TCompareChartForm::AppendMeasurements(const TMeasurementValueArray& history) {
    const std::size_t before = points_.Count();
    if (points_.Append(history) == 0)
        return;
    model_->PointsAdded(before);
    ValuesListView->setColumnWidth(CompareValuesModel::ValueColumn, ValueColumnWidth);
    Redraw();
}

int TCompareChartForm::PlotColumns() const {
    const int plot = static_cast<int>(chart_->plotArea().width());
    if (plot > 0 && isVisible())
        return plot;
    return std::max(1, CompareChart->width() - ChartFrameAllowance);
}

void TCompareChartForm::Redraw() {
    const int columns = PlotColumns();
    drawnColumns_ = columns;
    range_.Update(points_.Count(), columns);
    drawn_ = CompareChartDrawing::Runs(points_, range_.Low(), range_.High(), columns);
    SetRuns(drawn_);
    SetAxes();
    SetTimeLabels();
    if (pointer_)
        ShowHover(*pointer_);
}

void TCompareChartForm::SetRuns(const std::vector<QList<QPointF>>& runs) {
    const std::size_t wanted = std::max<std::size_t>(1, runs.size());
    while (runs_.size() < wanted)
        NewRun();
    while (runs_.size() > wanted) {
        QLineSeries* surplus = runs_.back();
        runs_.pop_back();
        chart_->removeSeries(surplus);
        delete surplus;
    }
    for (std::size_t i = 0; i < runs_.size(); ++i)
        runs_[i]->replace(i < runs.size() ? runs[i] : QList<QPointF>());
}

void TCompareChartForm::SetAxes() {
    if (timeAxis_->min() != range_.Low() || timeAxis_->max() != range_.High())
        timeAxis_->setRange(range_.Low(), range_.High());

    // The values in view: the drawn points hold the extremes of every slice.
    bool numbers = false;
    double low = 0.0;
    double high = 1.0;
    for (const QList<QPointF>& run : drawn_) {
        for (const QPointF& point : run) {
            if (point.x() < range_.Low() || point.x() > range_.High())
                continue;
            low = numbers ? std::min(low, point.y()) : point.y();
            high = numbers ? std::max(high, point.y()) : point.y();
            numbers = true;
        }
    }
    if (numbers) {
        const double span = high - low;
        const double pad = span > 0.0 ? span * 0.05 : std::max(0.5, std::fabs(high) * 0.05);
        low -= pad;
        high += pad;
    }
    // The scale changes only with the lowest or highest value.
    if (low == scaledLow_ && high == scaledHigh_)
        return;
    scaledLow_ = low;
    scaledHigh_ = high;
    valueAxis_->setRange(low, high);
    if (numbers)
        valueAxis_->applyNiceNumbers();
}

void TCompareChartForm::SetTimeLabels() {
    const std::size_t count = points_.Count();
    std::vector<std::size_t> indices;
    if (count > 0) {
        const QFontMetrics metrics(timeAxis_->labelsFont());
        const double labelWidth = metrics.horizontalAdvance(points_.TimeText(0)) + LabelGap;
        const double pixelsPerPoint =
            static_cast<double>(PlotColumns()) / std::max(1.0, range_.Span());
        const std::size_t step = CompareChartDrawing::LabelStep(pixelsPerPoint, labelWidth, count);
        const auto first = static_cast<std::size_t>(std::max(0.0, std::ceil(range_.Low())));
        const std::size_t end =
            std::min(count, static_cast<std::size_t>(std::max(0.0, std::floor(range_.High()) + 1)));
        indices = CompareChartDrawing::LabelIndices(first, end, step);
    }
    if (indices == labelIndices_)
        return;
    labelIndices_ = indices;
    for (const QString& label : timeAxis_->categoriesLabels())
        timeAxis_->remove(label);
    QStringList taken;
    for (const std::size_t index : indices) {
        const QString label = UniqueLabel(points_.TimeText(index), taken);
        timeAxis_->append(label, static_cast<double>(index));
        taken << label;
    }
}

void TCompareChartForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ReadTimer.start();
}

void TCompareChartForm::closeEvent(QCloseEvent* event) {
    model_->PointsCleared();
    points_.Clear();
    for (QLineSeries* run : runs_)
        run->clear();
    drawn_.clear();
    range_.ShowWhole();
    HideHover();
    labelIndices_.clear();
    ReadTimer.stop();
    event->accept();
}

void TCompareChartForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPanels();
}

void TCompareChartForm::LayoutPanels() {
    const int w = width();
    const int h = height();
    TitlePanel->setGeometry(0, 0, w, TitleHeight);
    const int tableWidth = std::min(TableWidth, w);
    ChartPanel->setGeometry(0, TitleHeight, w - tableWidth, std::max(0, h - TitleHeight));
    TablePanel->setGeometry(w - tableWidth, TitleHeight, tableWidth, std::max(0, h - TitleHeight));
    CompareChart->setGeometry(0, 0, ChartPanel->width(), ChartPanel->height());
    ValuesListView->setGeometry(0, 0, TablePanel->width(), TablePanel->height());
    const int timeWidth = TablePanel->width() - ValueColumnWidth -
                          ValuesListView->verticalScrollBar()->sizeHint().width() - 2;
    ValuesListView->setColumnWidth(CompareValuesModel::TimeColumn, std::max(40, timeWidth));
    ValuesListView->setColumnWidth(CompareValuesModel::ValueColumn, ValueColumnWidth);
    const int pauseWidth =
        std::min(PauseCheckBox->sizeHint().width(), std::max(0, w - 2 * PauseMargin));
    PauseCheckBox->setGeometry(w - pauseWidth - PauseMargin,
                               (TitleHeight - PauseCheckBox->sizeHint().height()) / 2, pauseWidth,
                               PauseCheckBox->sizeHint().height());
}

// The chart's width decides how many points are drawn and which carry labels.
bool TCompareChartForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CompareChart && event->type() == QEvent::Resize && points_.Count() > 0) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (PlotColumns() != drawnColumns_)
                    Redraw();
            },
            Qt::QueuedConnection);
    }
    if (watched == CompareChart && event->type() == QEvent::KeyPress)
        return ChartKeyEvent(event);
    if (watched == CompareChart->viewport())
        return ChartMouseEvent(event);
    return QWidget::eventFilter(watched, event);
}

// ---- reading the run ----

QPointF TCompareChartForm::ChartPosition(const QPointF& viewPosition) const {
    return chart_->mapFromScene(CompareChart->viewportTransform().inverted().map(viewPosition));
}

double TCompareChartForm::PositionAt(double pixelX) const {
    const QRectF plot = chart_->plotArea();
    if (plot.width() <= 0.0)
        return range_.Low();
    return range_.Low() + (pixelX - plot.left()) / plot.width() * range_.Span();
}

QPointF TCompareChartForm::PixelOf(const QPointF& point) const {
    const QRectF plot = chart_->plotArea();
    const double ySpan = valueAxis_->max() - valueAxis_->min();
    const double x = plot.left() + (point.x() - range_.Low()) / range_.Span() * plot.width();
    const double y = ySpan > 0.0
                         ? plot.bottom() - (point.y() - valueAxis_->min()) / ySpan * plot.height()
                         : plot.center().y();
    return {x, y};
}

void TCompareChartForm::ZoomAt(double pixelX, double factor) {
    range_.ZoomAt(PositionAt(pixelX), factor);
    Redraw();
}

void TCompareChartForm::PanPixels(double pixels) {
    const double width = chart_->plotArea().width();
    if (width <= 0.0 || range_.Whole())
        return;
    range_.PanBy(pixels / width * range_.Span());
    Redraw();
}

void TCompareChartForm::ShowWholeRun() {
    range_.ShowWhole();
    Redraw();
}

bool TCompareChartForm::ChartMouseEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const double notches = wheel->angleDelta().y() / WheelNotch;
        if (notches != 0.0 && points_.Count() > 0)
            ZoomAt(ChartPosition(wheel->position()).x(), std::pow(ZoomStep, notches));
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        CompareChart->setFocus(Qt::MouseFocusReason);
        dragFrom_ = ChartPosition(mouse->position()).x();
        if (!range_.Whole())
            CompareChart->viewport()->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = ChartPosition(mouse->position());
        if (dragFrom_ && (mouse->buttons() & Qt::LeftButton)) {
            const double moved = *dragFrom_ - at.x();
            dragFrom_ = at.x();
            HideHover();
            PanPixels(moved);
            return true;
        }
        if (chart_->plotArea().contains(at)) {
            pointer_ = at;
            ShowHover(at);
        } else {
            HideHover();
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        dragFrom_.reset();
        CompareChart->viewport()->unsetCursor();
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        ShowWholeRun();
        return true;
    case QEvent::Leave:
        HideHover();
        return false;
    default:
        return false;
    }
}

bool TCompareChartForm::ChartKeyEvent(QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const double centre = chart_->plotArea().center().x();
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomAt(centre, ZoomStep);
        return true;
    case Qt::Key_Minus:
        ZoomAt(centre, 1.0 / ZoomStep);
        return true;
    case Qt::Key_Home:
        ShowWholeRun();
        return true;
    case Qt::Key_Left:
        PanPixels(-KeyPanShare * chart_->plotArea().width());
        return true;
    case Qt::Key_Right:
        PanPixels(KeyPanShare * chart_->plotArea().width());
        return true;
    default:
        return false;
    }
}

void TCompareChartForm::ShowHover(const QPointF& pointer) {
    const std::optional<QPointF> nearest = CompareChartDrawing::Nearest(
        drawn_, range_.Low(), range_.High(), [this](const QPointF& p) { return PixelOf(p); },
        pointer);
    if (!nearest) {
        hover_->Hide();
        return;
    }
    const auto index = static_cast<std::size_t>(std::llround(nearest->x()));
    // A run of more than one day names the day as well.
    const bool days = std::floor(points_.Time(0)) != std::floor(points_.Time(points_.Count() - 1));
    const QDateTime when = DateTimeOf(points_.Time(index));
    const QString time = days ? DayAndTimeText(when) : points_.TimeText(index);
    hover_->Show(PixelOf(*nearest), pointer, time + QLatin1Char('\n') + points_.ValueText(index),
                 chart_->plotArea());
}

void TCompareChartForm::HideHover() {
    pointer_.reset();
    hover_->Hide();
}

bool TCompareChartForm::HoverShown() const {
    return hover_->Shown();
}

QString TCompareChartForm::HoverText() const {
    return hover_->Text();
}
