#pragma once
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace cangshu::test {

// Answers the modal dialogs a command opens, in the order they appear, and keeps the texts
// of the message boxes. A dialog nobody expected is closed and recorded.
class ModalAnswers : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;
    // A fresh single-shot timer each time: a repeating timer would not fire again while a
    // handler waits in a nested dialog of its own.
    ModalAnswers() { schedule(); }
    ModalAnswers& then(Handler h) {
        m_queue.append(std::move(h));
        return *this;
    }
    ModalAnswers& button(QMessageBox::StandardButton b) {
        return then([b](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w))
                box->button(b)->click();
            else
                w->close();
        });
    }
    ModalAnswers& saveAs(const QString& path) {
        return then([path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) {
                w->close();
                return;
            }
            // Type the name into the dialog and close it as accepted: accept() itself waits
            // on the dialog's file system model, which may never settle offscreen.
            dialog->setDirectory(QFileInfo(path).absolutePath());
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                edit->setText(QFileInfo(path).fileName());
            else
                dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "done", Q_ARG(int, QDialog::Accepted));
        });
    }
    QStringList texts;
    QStringList titles;
    int unexpected = 0;
    bool done() const { return m_queue.isEmpty(); }

private:
    void schedule() { QTimer::singleShot(10, this, &ModalAnswers::poll); }
    void poll() {
        schedule();
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w->property("answered").toBool())
            return;
        w->setProperty("answered", true);
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            texts << box->text();
            titles << box->windowTitle();
        }
        if (m_queue.isEmpty()) {
            ++unexpected;
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->button(QMessageBox::No))
                box->button(QMessageBox::No)->click();
            else
                w->close();
            return;
        }
        Handler h = m_queue.takeFirst();
        h(w);
    }
    QList<Handler> m_queue;
};

} // namespace cangshu::test
