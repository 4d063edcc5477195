#pragma once
// The picture part of the review: one file's picture, or a duplicate beside
// the kept file it equals, each fitted to its half with its name and sizes
// under it. Pictures load off the window's thread; a picture asked for and
// then replaced never shows.

#include <QTimer>
#include <QWidget>
#include <array>

#include "platform/filesystem.h"
#include "ui/preview/pictureloader.h"

class QLabel;

namespace quillo {

class ElidedLabel;
class PictureView;

class PicturePane : public QWidget {
    Q_OBJECT
  public:
    explicit PicturePane(FileSystem& fs, QWidget* parent = nullptr);

    // The picture of the file at path, alone.
    void showOne(const QString& path);
    // The duplicate at path on the left, the kept file it equals on the right.
    void showPair(const QString& path, const QString& keptPath);
    // Shows nothing.
    void clear();

    // What side shows: the picture as decoded (null while it loads, when the
    // file has none, or for a side not in use).
    QImage picture(PaneSide side) const;
    // The caption under side: the file's name, a line break, then its pixel
    // and file size or why it shows no picture (empty while loading).
    QString caption(PaneSide side) const;
    // Nothing is loading or about to: what shows stays until the next request.
    bool isSettled() const;

  signals:
    // Everything asked for has arrived (see isSettled).
    void settled();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Side {
        QWidget* column = nullptr;
        QLabel* heading = nullptr;
        PictureView* view = nullptr;
        ElidedLabel* name = nullptr;
        QLabel* details = nullptr;
        QString path;
        QSize asked;           // the bounds requested and not yet arrived
        QSize pixels;          // the shown picture's own size
        bool waiting = false;  // path's picture or reason has not arrived
    };
    Side& side(PaneSide s) { return m_sides[s == PaneSide::Left ? 0 : 1]; }
    const Side& side(PaneSide s) const { return m_sides[s == PaneSide::Left ? 0 : 1]; }
    Side makeSide(const QString& heading);
    void setPaired(bool paired);
    void present(PaneSide s, const QString& path);
    void blank(PaneSide s);
    // Asks for side's picture at its area's size, where it would differ.
    void requestIfNeeded(PaneSide s);
    void requestAll();
    void arrived(PaneSide s, const LoadedPicture& picture);
    void settleCheck();

    PictureLoader m_loader;
    std::array<Side, 2> m_sides;
    QTimer m_resizeDelay;  // a drag asks for one decode at its end, not one per step
};

}  // namespace quillo
