#pragma once
// The span of one command handler inside frmQuillo.

#include "ui/mainwindow.h"

namespace quillo {

class frmQuillo::CommandScope {
  public:
    explicit CommandScope(frmQuillo& w) : m_w(w) { m_w.m_commandRunning = true; }
    ~CommandScope() {
        m_w.m_commandRunning = false;
        m_w.m_pacer.flush();
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

  private:
    frmQuillo& m_w;
};

}  // namespace quillo
