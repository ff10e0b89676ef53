#include "QueryWindows.h"

#include "FineStatisticsWindow.h"
#include "FineWindow.h"
#include "FinesListWindow.h"
#include "HistoryWindow.h"
#include "circulation/ui/DepositWindow.h"
#include "readers/CardDevices.h"
#include "readers/ui/ReaderWindows.h"

namespace cangshu {

namespace {

FineWindow* newFineWindow(ShellContext& c, QWidget* parent) {
    auto* w = new FineWindow(*c.db(), parent);
    IdCardDevice* idCard = workstationCardDevices(c.home()).id.get();
    w->setIdCardDevice(idCard);
    ShellContext* shell = &c;
    // "从押金里扣": the deposits window, filled in for a deduction; the operator ends it there.
    w->setDepositHandOver([shell, idCard](QWidget* owner, const DepositHandOver& h) {
        DepositWindow deposit(*shell->db(), owner);
        deposit.setIdCardDevice(idCard);
        deposit.setOperatorName(shell->session.operatorName);
        deposit.prefill(h.readerNumber, DepositDirection::Deduct, h.amountText, h.remark);
        deposit.exec();
    });
    return w;
}

WindowFactory historyFactory(HistoryKind kind, bool today) {
    return {[kind](ShellContext& c, QWidget* parent) -> QWidget* {
                if (!c.db())
                    return nullptr;
                auto* w = new HistoryWindow(*c.db(), c.home(), kind, parent);
                w->setCardDevice(workstationCardDevices(c.home()).ic.get());
                w->setWindowState(w->windowState() | Qt::WindowMaximized);
                return w;
            },
            [today](ShellContext&, QWidget* window, const Command& command) {
                auto* w = static_cast<HistoryWindow*>(window);
                if (today) {
                    w->showToday();
                } else if (!command.windowTitle.isEmpty()) {
                    w->setWindowTitle(command.windowTitle);
                }
            }};
}

} // namespace

void addQueryWindows(WindowFactories& factories) {
    // The reader window's "查询正在借阅的书籍" / "查询历史借阅记录".
    setReaderLoansViewer([](Database& db, const Home& home, const QString& readerNumber,
                            bool returned, QWidget* owner) {
        HistoryWindow::showFor(owner, db, home,
                               returned ? HistoryKind::BookReturns : HistoryKind::BookLoans,
                               HistoryWindow::SearchBy::Reader, readerNumber);
    });

    const QList<QPair<QString, HistoryKind>> history{
        {QStringLiteral("BookLendFind"), HistoryKind::BookLoans},
        {QStringLiteral("BookReturnFind"), HistoryKind::BookReturns},
        {QStringLiteral("PeriodicalLendFind"), HistoryKind::PeriodicalLoans},
        {QStringLiteral("PeriodicalReturnFind"), HistoryKind::PeriodicalReturns},
        {QStringLiteral("MediaLendFind"), HistoryKind::MediaLoans},
        {QStringLiteral("MediaReturnFind"), HistoryKind::MediaReturns}};
    for (const auto& [key, kind] : history)
        factories.add(key, historyFactory(kind, false));
    const QList<QPair<QString, HistoryKind>> today{
        {QStringLiteral("Today:今日借出图书"), HistoryKind::BookLoans},
        {QStringLiteral("Today:今日归还图书"), HistoryKind::BookReturns},
        {QStringLiteral("Today:今日借出期刊"), HistoryKind::PeriodicalLoans},
        {QStringLiteral("Today:今日归还期刊"), HistoryKind::PeriodicalReturns}};
    for (const auto& [key, kind] : today)
        factories.add(key, historyFactory(kind, true));

    factories.add(QStringLiteral("Fine"), {[](ShellContext& c, QWidget* parent) -> QWidget* {
                                               return c.db() ? newFineWindow(c, parent) : nullptr;
                                           },
                                           {}});
    factories.add(QStringLiteral("FineList"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       if (!c.db())
                           return nullptr;
                       auto* w = new FinesListWindow(*c.db(), c.home(), parent);
                       ShellContext* shell = &c;
                       w->setFineOpener([shell](QWidget* owner) {
                           FineWindow* fine = newFineWindow(*shell, owner);
                           fine->exec();
                           delete fine;
                       });
                       w->setWindowState(w->windowState() | Qt::WindowMaximized);
                       return w;
                   },
                   {}});
    factories.add(QStringLiteral("FineStatistics"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new FineStatisticsWindow(*c.db(), c.home(), parent)
                                     : nullptr;
                   },
                   {}});
}

} // namespace cangshu
