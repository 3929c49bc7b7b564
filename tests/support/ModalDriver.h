#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>

namespace torumin::testing {

// Acts on modal windows as they open, one queued step per window, so a test can
// drive real exec() calls. A modal window that opens with no step queued, that
// a failed step left open, or that stays open too long is counted and closed,
// so a test fails instead of hanging. A window that closes itself before its
// step could run (a download refused at once) still takes its step.
class ModalDriver final : public QObject {
public:
    using Step = std::function<void(QWidget &modal)>;

    ModalDriver()
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        m_poll.start();
        QApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow() && widget->isModal() && widget != m_last)
                take(widget);
        }
        return QObject::eventFilter(watched, event);
    }

    void then(Step step) { m_steps.push_back(std::move(step)); }
    [[nodiscard]] std::size_t pending() const { return m_steps.size(); }
    [[nodiscard]] int unexpected() const { return m_unexpected; }

private:
    static void dismiss(QWidget *modal)
    {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (modal == m_last) {
            if (m_openFor.elapsed() > 20000) {
                ++m_unexpected;
                dismiss(modal);
            }
            return;
        }
        take(modal);
    }

    void take(QWidget *modal)
    {
        m_last = modal;
        m_openFor.start();
        // A window that was handed a step already is active again once a window
        // it opened has closed: it is not a new one.
        m_seen.removeAll(QPointer<QWidget>());
        if (m_seen.contains(QPointer<QWidget>(modal)))
            return;
        m_seen.append(QPointer<QWidget>(modal));
        if (m_steps.empty()) {
            ++m_unexpected;
            dismiss(modal);
            return;
        }
        // Run from a timer of its own: a step may open a further modal window,
        // which the polling timer must still be free to see.
        auto step = std::make_shared<Step>(std::move(m_steps.front()));
        m_steps.pop_front();
        QPointer<QWidget> guard(modal);
        QTimer::singleShot(0, this, [step, guard] {
            if (!guard)
                return;
            (*step)(*guard);
            if (guard && guard->isVisible() && QTest::currentTestFailed())
                dismiss(guard);
        });
    }

    QTimer m_poll;
    std::deque<Step> m_steps;
    QPointer<QWidget> m_last;
    QList<QPointer<QWidget>> m_seen;
    QElapsedTimer m_openFor;
    int m_unexpected = 0;
};

} // namespace torumin::testing
