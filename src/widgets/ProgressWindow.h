#pragma once
#include "queries/ProgressSink.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace cangshu {

// The small borderless notice with a progress bar that long operations show. It is the
// logic's ProgressSink: every change is shown, and the event loop gets a turn now and then
// so the window keeps painting and answering. A click on it hides it.
class ProgressWindow : public QWidget, public ProgressSink {
    Q_OBJECT
public:
    enum class Kind { Progress, CoverSearch };
    explicit ProgressWindow(QWidget* parent = nullptr, Kind kind = Kind::Progress);

    void setLabel(const QString& text) override;
    void setRange(int maximum) override;
    void setValue(int value) override;

    QString label() const;
    QProgressBar* bar() const { return m_bar; }
    // Shows the window and lets it paint before the work starts.
    void start(const QString& text);
    // Bar maximum back to 100, then hidden.
    void finish();

protected:
    void mousePressEvent(QMouseEvent*) override;
    void paintEvent(QPaintEvent*) override;

private:
    void breathe(bool force);

    QLabel* m_label;
    QProgressBar* m_bar = nullptr;
    QElapsedTimer m_sinceEvents;
};

} // namespace cangshu
