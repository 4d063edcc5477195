#pragma once
// The grid fill and the blinking message label. The fill writes a few rows
// per timer tick so that a million-row list never freezes the window; it
// waits while a command holds the table.

#include <QLabel>
#include <QTimer>

#include "collect/filetable.h"
#include "platform/clock.h"
#include "platform/filesystem.h"

namespace quillo {

class FileListModel;

// lblMsg's colour while busy: a step at most every 0.2 s.
class Blink {
  public:
    Blink(QLabel& label, Clock& clock) : m_label(label), m_clock(clock) {}
    void step();
    void setColor(qint32 rgb);  // 0 is black
    qint32 color() const { return m_color; }
    double due() const { return m_due; }  // monotonic seconds

  private:
    QLabel& m_label;
    Clock& m_clock;
    qint32 m_color = 0;
    double m_due = 0;
};

class ListFill {
  public:
    ListFill(const FileTable& files, FileListModel& model, QTimer& timer, Blink& blink,
             FileSystem& fs)
        : m_files(files), m_model(model), m_timer(timer), m_blink(blink), m_fs(fs) {}

    // Sizes the grid to the table and fills it from row 1.
    void start();
    // One timer tick: the next rows, or the end of the fill.
    void tick();
    // Stops a fill under way.
    void stop();
    qint32 cursor() const { return m_cursor; }  // last row filled; 0 when none under way

  private:
    const FileTable& m_files;
    FileListModel& m_model;
    QTimer& m_timer;
    Blink& m_blink;
    FileSystem& m_fs;
    qint32 m_cursor = 0;
};

}  // namespace quillo
