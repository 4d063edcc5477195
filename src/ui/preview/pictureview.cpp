#include "ui/preview/pictureview.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <cmath>

namespace quillo {

namespace {
// A picture that comes within this time appears without a word in between.
constexpr int kLoadingDelayMs = 250;

// A screen reader announces the area as a picture, with the file's name and
// what the caption says of it.
QAccessibleInterface* accessiblePicture(const QString& className, QObject* object) {
    if (className != QLatin1String("quillo::PictureView") || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
}
}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessiblePicture);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_loadingDelay.setSingleShot(true);
    m_loadingDelay.setInterval(kLoadingDelayMs);
    connect(&m_loadingDelay, &QTimer::timeout, this, [this] {
        m_sayLoading = true;
        update();
    });
}

void PictureView::setImage(const QImage& image) {
    m_image = image;
    m_loadingDelay.stop();
    m_sayLoading = false;
    update();
}

void PictureView::setBlank(Blank blank) {
    m_image = QImage();
    m_blank = blank;
    m_sayLoading = false;
    if (blank == Blank::Loading)
        m_loadingDelay.start();
    else
        m_loadingDelay.stop();
    update();
}

QSize PictureView::bounds() const {
    const qreal ratio = devicePixelRatioF();
    return {int(std::floor(width() * ratio)), int(std::floor(height() * ratio))};
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_image.isNull()) {
        if (m_blank == Blank::NoPicture) {
            QSizeF frame(4, 3);
            frame.scale(QSizeF(size()) * 0.7, Qt::KeepAspectRatio);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
            painter.drawRoundedRect(
                QRectF(QPointF((width() - frame.width()) / 2, (height() - frame.height()) / 2),
                       frame),
                6, 6);
        } else if (m_sayLoading) {
            painter.setPen(palette().color(QPalette::PlaceholderText));
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("読み込んでいます…"));
        }
        return;
    }
    // Drawn at its own size; while a resize waits for the picture decoded at
    // the new size, the old one is scaled to fit instead.
    const qreal ratio = devicePixelRatioF();
    QSizeF size = QSizeF(m_image.size()) / ratio;
    if (size.width() > width() || size.height() > height())
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                        size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(target.adjusted(-0.5, -0.5, 0.5, 0.5));
}

}  // namespace quillo
