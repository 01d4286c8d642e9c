#include "TovikSegmentedControl.h"

#include "TovikAccessibleParts.h"
#include "TovikColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double inset = 2;
constexpr double trackRadius = 6;
constexpr double selectionRadius = 5;
constexpr double imageSpacing = 4;
const QColor trackFill = TovikColors::white(0.07);
const QColor separator = TovikColors::white(0.12);
const QColor labelColor = TovikColors::white(0.78);
const QColor selectedLabelColor = TovikColors::white(0.95);
const QColor focusRing = TovikColors::fromComponents(0.04, 0.52, 1.0);

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    auto *control = qobject_cast<TovikSegmentedControl *>(object);
    if (className != QLatin1String("TovikSegmentedControl") || !control) {
        return nullptr;
    }
    std::vector<TovikAccessibleParts::Part> tabs;
    tabs.reserve(std::size_t(control->segmentCount()));
    for (int i = 0; i < control->segmentCount(); ++i) {
        tabs.push_back({QAccessible::PageTab, [control, i] { return control->label(i); },
                        [control, i] { return control->segmentRect(i).toAlignedRect(); },
                        [control, i] {
                            QAccessible::State state;
                            state.selectable = true;
                            state.focusable = true;
                            state.selected = control->selectedSegment() == i;
                            state.focused = state.selected && control->hasFocus();
                            return state;
                        },
                        [control, i] { control->activate(i); }});
    }
    return new TovikAccessibleParts::Widget(control, QAccessible::PageTabList, std::move(tabs));
}

} // namespace

TovikSegmentedControl::TovikSegmentedControl(const QStringList &labels, QWidget *parent)
    : QWidget(parent)
{
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
    for (const QString &label : labels) {
        m_segments.push_back({label, QIcon()});
    }
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString TovikSegmentedControl::label(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? m_segments[static_cast<std::size_t>(segment)].label : QString();
}

void TovikSegmentedControl::setSegmentWidth(double width)
{
    m_segmentWidth = width;
    updateGeometry();
    update();
}

void TovikSegmentedControl::setImage(int segment, const QIcon &image)
{
    if (segment >= 0 && segment < segmentCount()) {
        m_segments[static_cast<std::size_t>(segment)].image = image;
        update();
    }
}

QIcon TovikSegmentedControl::image(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? m_segments[static_cast<std::size_t>(segment)].image : QIcon();
}

void TovikSegmentedControl::setSelectedSegment(int segment)
{
    if (segment >= -1 && segment < segmentCount() && segment != m_selected) {
        m_selected = segment;
        update();
    }
}

void TovikSegmentedControl::setSelectedFill(const QColor &color)
{
    m_selectedFill = color;
    update();
}

QRectF TovikSegmentedControl::segmentRect(int segment) const
{
    return QRectF(inset + segment * m_segmentWidth, 0, m_segmentWidth, height());
}

QSize TovikSegmentedControl::sizeHint() const
{
    return QSize(static_cast<int>(std::ceil(segmentCount() * m_segmentWidth + 2 * inset)),
                 static_cast<int>(controlHeight));
}

int TovikSegmentedControl::segmentAt(const QPointF &position) const
{
    for (int i = 0; i < segmentCount(); ++i) {
        if (segmentRect(i).contains(position)) {
            return i;
        }
    }
    return -1;
}

void TovikSegmentedControl::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton ? segmentAt(event->position()) : -1;
    event->accept();
}

void TovikSegmentedControl::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    if (event->button() != Qt::LeftButton || pressed < 0 || segmentAt(event->position()) != pressed) {
        return;
    }
    activate(pressed);
}

void TovikSegmentedControl::activate(int segment)
{
    setSelectedSegment(segment);
    if (hasFocus()) {
        TovikAccessibleParts::notifyFocus(this, segment);
    }
    emit activated();
}

void TovikSegmentedControl::keyPressEvent(QKeyEvent *event)
{
    const int last = segmentCount() - 1;
    const int from = std::max(m_selected, 0);
    int to = -1;
    switch (event->modifiers() == Qt::NoModifier ? event->key() : 0) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        to = std::max(from - 1, 0);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        to = std::min(from + 1, last);
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = last;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (to >= 0 && to != m_selected) {
        activate(to);
    }
    event->accept();
}

void TovikSegmentedControl::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TovikSegmentedControl::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TovikSegmentedControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect());

    QPainterPath track;
    track.addRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), trackRadius, trackRadius);
    painter.fillPath(track, trackFill);

    for (int i = 0; i < segmentCount(); ++i) {
        const QRectF frame = segmentRect(i);
        if (i == m_selected) {
            QPainterPath selection;
            selection.addRoundedRect(frame.adjusted(0, 1.5, 0, -1.5), selectionRadius, selectionRadius);
            painter.fillPath(selection, m_selectedFill);
            if (hasFocus()) {
                painter.setPen(QPen(focusRing, 1.5));
                painter.drawPath(selection);
                painter.setPen(Qt::NoPen);
            }
        } else if (i > 0 && i - 1 != m_selected) {
            painter.fillRect(QRectF(frame.left() - 0.5, frame.top() + 5, 1, frame.height() - 10), separator);
        }

        const Segment &segment = m_segments[static_cast<std::size_t>(i)];
        const double labelWidth = fontMetrics().horizontalAdvance(segment.label);
        const double imageWidth = segment.image.isNull() ? 0 : imageSide + imageSpacing;
        const double left = frame.left() + std::round((frame.width() - imageWidth - labelWidth) / 2);
        if (!segment.image.isNull()) {
            // On whole device pixels: the image is painted for this ratio and must not be resampled.
            const qreal ratio = devicePixelRatioF();
            const auto snap = [ratio](double value) { return std::round(value * ratio) / ratio; };
            const QPixmap pixmap = segment.image.pixmap(QSize(int(imageSide), int(imageSide)), ratio);
            painter.drawPixmap(QPointF(snap(left), snap(frame.top() + (frame.height() - imageSide) / 2)), pixmap);
        }
        painter.setPen(i == m_selected ? selectedLabelColor : labelColor);
        painter.drawText(QRectF(left + imageWidth, frame.top(), labelWidth + 1, frame.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, segment.label);
    }
}
