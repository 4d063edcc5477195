#pragma once
// One picture, centred in its area and never enlarged; while it loads the
// area stays empty, and says so after a moment; a file without a picture gets
// an empty frame.

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace quillo {

class PictureView : public QWidget {
    Q_OBJECT
  public:
    enum class Blank { Nothing, Loading, NoPicture };

    explicit PictureView(QWidget* parent = nullptr);

    // Shows image, decoded for this area at the device pixel ratio.
    void setImage(const QImage& image);
    // Shows no picture: nothing, "読み込んでいます…" once loading takes long,
    // or the empty frame.
    void setBlank(Blank blank);
    const QImage& image() const { return m_image; }
    // The area a picture is fitted into, in device pixels.
    QSize bounds() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_image;
    QTimer m_loadingDelay;
    Blank m_blank = Blank::Nothing;
    bool m_sayLoading = false;
};

}  // namespace quillo
