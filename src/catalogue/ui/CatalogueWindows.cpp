#include "CatalogueWindows.h"

#include "BookWindow.h"
#include "ClassTreeWindow.h"
#include "PublisherWindow.h"
#include "shell/ui/NumberSettingsWindow.h"

namespace cangshu {

namespace {

CatalogueSettings catalogueSettings(const ShellContext& c) {
    CatalogueSettings s;
    // ViewMode "0" is the reduced display; any other value shows everything.
    s.fullMode = c.startup->viewMode() != QStringLiteral("0");
    s.oneToOne = c.session.oneToOne == 1;
    s.kindCondition = c.session.kindColumns;
    s.operatorName = c.session.operatorName;
    return s;
}

BookEditorSettings editorSettings(const ShellContext& c) {
    BookEditorSettings s;
    s.masterLookup = c.startup->masterLookup() == 1;
    s.titleSearch = c.startup->titleSearch() == 1;
    s.kindCondition = c.session.kindColumns;
    return s;
}

void openNumberSettings(Database& db, QWidget* parent) {
    NumberSettingsWindow window(db, parent);
    window.exec();
}

struct SessionHolder {
    std::unique_ptr<BookEditSession> ownSession;
};

// The editor opened on its own (F7): it owns its session.
class StandaloneBookEditor : private SessionHolder, public BookEditor {
public:
    StandaloneBookEditor(ShellContext& c, QWidget* parent)
        : SessionHolder{std::make_unique<BookEditSession>(*c.db(), c.session.oneToOne == 1,
                                                          c.session.kindColumns)},
          BookEditor(*c.db(), c.home(), *ownSession, editorSettings(c), parent) {
        Database* db = c.db();
        setNumberSettingsOpener([db](QWidget* p) { openNumberSettings(*db, p); });
    }
};

} // namespace

void addCatalogueWindows(WindowFactories& factories) {
    factories.add(QStringLiteral("Books"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       if (!c.db())
                           return nullptr;
                       auto* w = new BookWindow(*c.db(), c.home(), parent);
                       Database* db = c.db();
                       w->setNumberSettingsOpener([db](QWidget* p) { openNumberSettings(*db, p); });
                       return w;
                   },
                   [](ShellContext& c, QWidget* window, const Command&) {
                       auto* w = static_cast<BookWindow*>(window);
                       w->setSettings(catalogueSettings(c));
                       w->setEditorSettings(editorSettings(c));
                   }});
    factories.add(QStringLiteral("BookEditor"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new StandaloneBookEditor(c, parent) : nullptr;
                   },
                   [](ShellContext& c, QWidget* window, const Command& command) {
                       (void)c;
                       auto* e = static_cast<StandaloneBookEditor*>(window);
                       e->session().beginInsert();
                       e->setWindowTitle(command.windowTitle.isEmpty() ? BookEditor::addTitle()
                                                                       : command.windowTitle);
                   }});
    factories.add(QStringLiteral("BookClasses"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new ClassTreeWindow(*c.db(), c.home(), ClassScheme::books(),
                                                           QStringLiteral("图书类型设置"), parent)
                                     : nullptr;
                   },
                   {}});
    factories.add(QStringLiteral("Publishers"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new PublisherWindow(*c.db(), parent) : nullptr;
                   },
                   [](ShellContext&, QWidget* window, const Command&) {
                       static_cast<PublisherWindow*>(window)->setPickerMode(false);
                   }});
}

} // namespace cangshu
