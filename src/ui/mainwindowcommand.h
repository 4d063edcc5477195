#pragma once
// The span of one command handler inside frmQuillo.

#include <memory>

#include "ui/inputguard.h"
#include "ui/mainwindow.h"

namespace quillo {

class frmQuillo::CommandScope {
  public:
    explicit CommandScope(frmQuillo& w)
        : m_w(w), m_guard(std::make_unique<InputGuard>(&w, [&w] { w.m_runner.askStop(); })) {
        m_w.m_commandRunning = true;
    }
    ~CommandScope() {
        m_w.m_commandRunning = false;
        m_w.m_pacer.flush();
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

  private:
    frmQuillo& m_w;
    std::unique_ptr<InputGuard> m_guard;
};

}  // namespace quillo
