#pragma once
#include <QString>

namespace cangshu {

// The six rights of an operator; each opens one or more menu groups of the main window.
struct Rights {
    bool systemSettings = false;  // 系统设置
    bool management = false;      // 系统管理
    bool basicOperations = false; // 基本操作
    bool queries = false;         // 系统查询
    bool statistics = false;      // 统计分析
    bool printing = false;        // 报表打印

    static Rights all() { return {true, true, true, true, true, true}; }
    bool operator==(const Rights&) const = default;
};

// The values every window reads while an operator is logged in. They are loaded by the
// login and change only at the next login.
struct OperatorSession {
    bool loggedIn = false;
    QString operatorName;   // the chosen 用户名; written into "操作员" columns
    QString libraryName;    // 系统信息.图书馆名称; the main window's title
    QString backgroundFile; // picturepath/pathstr: file name inside photo/
    QString showOverdue;    // 参数设置.显示超期: "是" opens the overdue list after login
    int oneToOne = 0;       // 参数设置.一对一: 1 = one copy per number
    int cardYears = 0;      // 参数设置.有效期
    int returnMode = 1;     // 参数设置.还书 (1 when missing or null)
    QString kindColumns = defaultKindColumns(); // 参数设置.种类条件
    Rights rights;

    static QString defaultKindColumns() {
        return QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN");
    }
};

} // namespace cangshu
