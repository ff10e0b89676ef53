#include "ExitDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

namespace cangshu {

namespace {
constexpr ExitAnswer kOrder[] = {ExitAnswer::BackupAndExit, ExitAnswer::Exit,
                                 ExitAnswer::SwitchOperator, ExitAnswer::Cancel};
}

ExitDialog::ExitDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("退出选项"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(10);
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DialogSaveButton,
                                            QStyle::SP_DialogCloseButton, QStyle::SP_BrowserReload,
                                            QStyle::SP_DialogCancelButton};
    for (int i = 0; i < 4; ++i) {
        const ExitAnswer a = kOrder[i];
        auto* b = new QPushButton(style()->standardIcon(icons[i]), exitAnswerCaption(a), this);
        b->setMinimumHeight(36);
        b->setAutoDefault(true);
        connect(b, &QPushButton::clicked, this, [this, a] { choose(a); });
        layout->addWidget(b);
        m_buttons << b;
    }
}

QPushButton* ExitDialog::button(ExitAnswer answer) const {
    for (int i = 0; i < 4; ++i)
        if (kOrder[i] == answer)
            return m_buttons[i];
    return nullptr;
}

void ExitDialog::showEvent(QShowEvent* event) {
    m_answer = ExitAnswer::Exit;
    button(ExitAnswer::Exit)->setFocus();
    QDialog::showEvent(event);
}

void ExitDialog::choose(ExitAnswer answer) {
    m_answer = answer;
    accept();
}

void ExitDialog::reject() {
    choose(ExitAnswer::Cancel);
}

void ExitDialog::closeEvent(QCloseEvent* event) {
    // The title bar keeps the preset answer "直接退出".
    event->accept();
    done(QDialog::Accepted);
}

} // namespace cangshu
