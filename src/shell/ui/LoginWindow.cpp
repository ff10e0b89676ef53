#include "LoginWindow.h"

#include "Artwork.h"
#include "shell/Login.h"
#include "widgets/Messages.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

namespace {
const QString kDefaultPassword = QStringLiteral("61730");
const QSize kBannerSize(520, 150);
} // namespace

LoginWindow::LoginWindow(ShellContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("loginWindow"));
    setWindowTitle(QStringLiteral("登录"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // The deployment's banner when it has one, else ours.
    m_banner = new QLabel(this);
    const QString bannerFile =
        context.home().path(context.plainShell() ? QStringLiteral("photo/tsgtopoem.jpg")
                                                 : QStringLiteral("photo/tsgtop.jpg"));
    QPixmap banner;
    if (QFile::exists(bannerFile))
        banner.load(bannerFile);
    if (banner.isNull())
        banner = loginBanner(kBannerSize, QStringLiteral("图书馆管理系统"));
    m_banner->setPixmap(
        banner.scaled(kBannerSize, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation));
    m_banner->setFixedSize(kBannerSize);

    m_user = new QComboBox(this);
    m_user->setEditable(false);
    m_user->setMinimumWidth(220);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->setContentsMargins(60, 16, 60, 4);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("密  码："), m_password);

    m_login = new QPushButton(QStringLiteral("登录(&E)"), this);
    m_cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    m_login->setDefault(true);
    m_login->setAutoDefault(true);
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(60, 4, 60, 16);
    buttons->addStretch();
    buttons->addWidget(m_login);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_banner);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_login, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(m_cancel, &QPushButton::clicked, this, &LoginWindow::cancelled);
}

void LoginWindow::reload() {
    m_context.session = OperatorSession();
    try {
        loadSessionValues(m_context.db(), m_context.config().backgroundPicture, &m_context.session);
        m_user->clear();
        m_user->addItems(operatorNames(m_context.db()));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    if (m_user->count() > 0)
        m_user->setCurrentIndex(0);
    m_password->setText(kDefaultPassword);
    m_login->setFocus();
}

void LoginWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    reload();
}

void LoginWindow::logIn() {
    Outcome o;
    try {
        o = cangshu::logIn(m_context.db(), m_user->currentText(), m_password->text(),
                           &m_context.session);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    if (!o.ok) {
        if (o.focus == QLatin1String("password")) {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), o.message,
                            QMessageBox::Ok, this);
            box.exec();
            m_password->selectAll();
            m_password->setFocus();
        } else {
            showNotice(this, o.message);
            m_user->setFocus();
        }
        return;
    }
    hide();
    emit loggedIn();
}

void LoginWindow::reject() {
    emit cancelled();
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

} // namespace cangshu
