#include "ui/preview/picturepane.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/paths.h"
#include "ui/preview/elidedlabel.h"
#include "ui/preview/picturetext.h"
#include "ui/preview/pictureview.h"

namespace quillo {

namespace {
constexpr int kResizeDelayMs = 150;
constexpr PaneSide kSides[] = {PaneSide::Left, PaneSide::Right};
}  // namespace

PicturePane::PicturePane(FileSystem& fs, QWidget* parent) : QWidget(parent), m_loader(fs) {
    setAccessibleName(QStringLiteral("画像のプレビュー"));
    m_sides = {makeSide(QStringLiteral("重複ファイル")), makeSide(QStringLiteral("残すファイル"))};
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(12);
    for (const Side& s : m_sides) row->addWidget(s.column);
    setPaired(false);

    m_resizeDelay.setSingleShot(true);
    m_resizeDelay.setInterval(kResizeDelayMs);
    connect(&m_resizeDelay, &QTimer::timeout, this, [this] {
        requestAll();
        settleCheck();
    });
    connect(&m_loader, &PictureLoader::loaded, this, &PicturePane::arrived);
    connect(&m_loader, &PictureLoader::idle, this, &PicturePane::settleCheck);
}

PicturePane::Side PicturePane::makeSide(const QString& heading) {
    Side s;
    s.column = new QWidget(this);
    auto* stack = new QVBoxLayout(s.column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(2);
    s.heading = new QLabel(heading, s.column);
    s.heading->setAlignment(Qt::AlignCenter);
    s.heading->setForegroundRole(QPalette::PlaceholderText);
    s.view = new PictureView(s.column);
    s.view->installEventFilter(this);
    s.name = new ElidedLabel(s.column);
    s.name->setAlignment(Qt::AlignHCenter);
    s.details = new QLabel(s.column);
    s.details->setAlignment(Qt::AlignHCenter);
    s.details->setTextFormat(Qt::PlainText);
    s.details->setWordWrap(true);
    s.details->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stack->addWidget(s.heading);
    stack->addWidget(s.view, 1);
    stack->addWidget(s.name);
    stack->addWidget(s.details);
    return s;
}

void PicturePane::setPaired(bool paired) {
    side(PaneSide::Left).heading->setVisible(paired);
    side(PaneSide::Right).column->setVisible(paired);
    // The areas take their new sizes now, so the requests below fit them.
    layout()->activate();
}

void PicturePane::showOne(const QString& path) {
    m_loader.cancel(PaneSide::Right);
    blank(PaneSide::Right);
    setPaired(false);
    present(PaneSide::Left, path);
}

void PicturePane::showPair(const QString& path, const QString& keptPath) {
    setPaired(true);
    present(PaneSide::Left, path);
    present(PaneSide::Right, keptPath);
}

void PicturePane::clear() {
    for (PaneSide s : kSides) {
        m_loader.cancel(s);
        blank(s);
    }
    setPaired(false);
    settleCheck();
}

void PicturePane::blank(PaneSide which) {
    Side& s = side(which);
    s.path.clear();
    s.asked = {};
    s.pixels = {};
    s.waiting = false;
    s.view->setBlank(PictureView::Blank::Nothing);
    s.view->setAccessibleName({});
    s.name->setFullText({});
    s.name->setToolTip({});
    s.details->clear();
}

void PicturePane::present(PaneSide which, const QString& path) {
    Side& s = side(which);
    // The same file again keeps its picture until the check of it comes back;
    // another file never shows the one before.
    if (path != s.path) {
        blank(which);
        s.path = path;
        s.name->setFullText(fileNameOf(path));
        s.name->setToolTip(path);
        s.view->setAccessibleName(fileNameOf(path));
        s.view->setBlank(PictureView::Blank::Loading);
    }
    s.waiting = true;
    s.asked = {};
    requestIfNeeded(which);
}

void PicturePane::requestIfNeeded(PaneSide which) {
    Side& s = side(which);
    if (s.path.isEmpty() || !isVisible()) return;
    const QSize bounds = s.view->bounds();
    if (bounds.isEmpty() || bounds == s.asked) return;
    // A picture already decoded at what these bounds give needs no new decode;
    // a reason does not change with the size.
    if (!s.waiting && (s.pixels.isEmpty() || fitWithin(s.pixels, bounds) == s.view->image().size()))
        return;
    s.waiting = true;
    s.asked = bounds;
    m_loader.request(which, s.path, bounds);
}

void PicturePane::requestAll() {
    for (PaneSide s : kSides) requestIfNeeded(s);
}

void PicturePane::arrived(PaneSide which, const LoadedPicture& picture) {
    Side& s = side(which);
    s.waiting = false;
    s.asked = {};
    s.pixels = picture.pixels;
    QPalette palette = s.details->palette();
    if (picture.fault == PictureFault::None) {
        s.view->setImage(picture.image);
        s.details->setText(pictureDetails(picture.pixels, picture.bytes));
        palette.setColor(QPalette::WindowText, this->palette().color(QPalette::WindowText));
    } else {
        s.view->setBlank(PictureView::Blank::NoPicture);
        s.details->setText(faultText(picture));
        palette.setColor(QPalette::WindowText, QColor(0xb0, 0x1c, 0x1c));
    }
    s.details->setPalette(palette);
    s.view->setAccessibleDescription(s.details->text());
    // The area may have changed size while this was decoded.
    requestIfNeeded(which);
}

QImage PicturePane::picture(PaneSide which) const {
    return side(which).view->image();
}

QString PicturePane::caption(PaneSide which) const {
    const Side& s = side(which);
    if (s.path.isEmpty()) return {};
    return s.name->fullText() + QLatin1Char('\n') + s.details->text();
}

bool PicturePane::isSettled() const {
    if (m_resizeDelay.isActive() || m_loader.pending() > 0) return false;
    for (const Side& s : m_sides)
        if (s.waiting) return false;
    return true;
}

void PicturePane::settleCheck() {
    if (isSettled()) emit settled();
}

void PicturePane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    requestAll();
}

bool PicturePane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && isVisible()) m_resizeDelay.start();
    return QWidget::eventFilter(watched, event);
}

}  // namespace quillo
