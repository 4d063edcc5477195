#pragma once
// Loads pictures for the preview off the window's thread. Each side of the
// pane asks for one picture at a time: a newer request replaces the older,
// whose result, should it still come, is dropped and never delivered.

#include <QObject>
#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "platform/filesystem.h"
#include "ui/preview/loadedpicture.h"

namespace quillo {

enum class PaneSide { Left, Right };

class PictureLoader : public QObject {
    Q_OBJECT
  public:
    explicit PictureLoader(FileSystem& fs, QObject* parent = nullptr);
    // Waits for the decodes already running (a queued one is dropped).
    ~PictureLoader() override;

    // Asks for the picture at path fitted within bounds (device pixels) for
    // side, in place of whatever side asked for before.
    void request(PaneSide side, const QString& path, QSize bounds);
    // Drops side's request: nothing more is delivered for it.
    void cancel(PaneSide side);
    // Forgets the decoded pictures kept for going back to them.
    void clearCache();
    // Requests whose work has not come back yet, dropped ones included.
    int pending() const { return m_pending; }

  signals:
    // On the window's thread, for side's newest request only.
    void loaded(quillo::PaneSide side, const quillo::LoadedPicture& picture);
    // Every request's work has come back, dropped ones included.
    void idle();

  private:
    struct Shared;
    // Called by name from a loading thread, so that the queued call is built
    // inside Qt rather than in code ThreadSanitizer watches from both threads.
    Q_INVOKABLE void deliver();

    std::shared_ptr<Shared> m_shared;
    std::vector<std::thread> m_threads;  // started at the first request
    std::array<quint64, 2> m_newest{};   // per side: the ticket whose result counts
    int m_pending = 0;
};

}  // namespace quillo
