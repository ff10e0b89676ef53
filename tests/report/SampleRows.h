#pragma once
#include <QBuffer>
#include <QDate>
#include <QImage>
#include <QPainter>
#include <QVariantMap>

// Rows as the catalogue, reader and custom barcode tables hand them to the templates,
// with the long and short values that labels meet in practice.
namespace cangshu::report::samples {

inline QByteArray photoJpeg() {
    QImage image(240, 320, QImage::Format_RGB32);
    image.fill(QColor(214, 228, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 80, 110));
    p.drawEllipse(QPointF(120, 130), 62, 72);
    p.drawEllipse(QRectF(20, 220, 200, 220));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

inline QList<QVariantMap> books() {
    const struct {
        const char *number, *title, *cls, *seq, *volume, *place;
    } b[] = {
        {"00000123", "红楼梦", "I242.4", "12", "第1卷", "中文书库"},
        {"00000124", "中华人民共和国民法典释义及适用指南（上下册）", "D923.05", "1088", "上册",
         "法律书库"},
        {"TS0002031", "C++程序设计语言（第4版）", "TP312C++", "207", "", "外文书库"},
        {"00000126", "三体", "I247.55", "3", "第3部", "中文书库"},
        {"00000127", "Introduction to Algorithms", "TP301.6", "45", "", "外文书库"},
    };
    QList<QVariantMap> rows;
    int id = 1;
    for (const auto& r : b) {
        const QString cls = QString::fromUtf8(r.cls), seq = QString::fromUtf8(r.seq);
        rows.append({{QStringLiteral("ID"), id++},
                     {QStringLiteral("书籍编号"), QString::fromUtf8(r.number)},
                     {QStringLiteral("书籍名称"), QString::fromUtf8(r.title)},
                     {QStringLiteral("中图分类"), cls},
                     {QStringLiteral("种次号"), seq},
                     {QStringLiteral("索书号"), cls + u'/' + seq},
                     {QStringLiteral("分类名称"), QStringLiteral("文学")},
                     {QStringLiteral("当前本数"), QString::fromUtf8(r.volume)},
                     {QStringLiteral("馆藏地"), QString::fromUtf8(r.place)}});
    }
    return rows;
}

inline QList<QVariantMap> periodicals() {
    return {{{QStringLiteral("期刊编号"), QStringLiteral("QK000012")},
             {QStringLiteral("期刊名称"), QStringLiteral("读者")},
             {QStringLiteral("期刊刊次"), QStringLiteral("2026年第5期")}},
            {{QStringLiteral("期刊编号"), QStringLiteral("QK000013")},
             {QStringLiteral("期刊名称"), QStringLiteral("中国国家地理·青少年版（典藏合订本）")},
             {QStringLiteral("期刊刊次"), QStringLiteral("2026年第11期（总第235期）")}}};
}

inline QList<QVariantMap> audioVisual() {
    return {{{QStringLiteral("编号"), QStringLiteral("YX0005")},
             {QStringLiteral("名称"), QStringLiteral("黄河大合唱")},
             {QStringLiteral("分类号"), QStringLiteral("J6")}},
            {{QStringLiteral("编号"), QStringLiteral("YX0006")},
             {QStringLiteral("名称"), QStringLiteral("中国古典园林纪录片全集（高清蓝光版）")},
             {QStringLiteral("分类号"), QStringLiteral("TU986")}}};
}

inline QList<QVariantMap> readers() {
    const QByteArray photo = photoJpeg();
    return {{{QStringLiteral("读者编号"), QStringLiteral("R2026001")},
             {QStringLiteral("读者姓名"), QStringLiteral("王小明")},
             {QStringLiteral("读者类型"), QStringLiteral("学生")},
             {QStringLiteral("单位部门"), QStringLiteral("计算机科学与技术学院")},
             {QStringLiteral("办证日期"), QDate(2026, 9, 1)},
             {QStringLiteral("截止日期"), QDate(2029, 8, 31)},
             {QStringLiteral("Image"), photo}},
            {{QStringLiteral("读者编号"), QStringLiteral("R2026002")},
             {QStringLiteral("读者姓名"), QStringLiteral("欧阳文静")},
             {QStringLiteral("读者类型"), QStringLiteral("教职工")},
             {QStringLiteral("单位部门"), QStringLiteral("图书馆")},
             {QStringLiteral("办证日期"), QDate(2025, 3, 15)},
             {QStringLiteral("截止日期"), QVariant(QMetaType::fromType<QDate>())},
             {QStringLiteral("Image"), QVariant(QMetaType::fromType<QByteArray>())}}};
}

inline QList<QVariantMap> customBarcodes() {
    QList<QVariantMap> rows;
    for (int i = 1; i <= 3; ++i)
        rows.append(
            {{QStringLiteral("条形码"), QStringLiteral("A%1").arg(i, 7, 10, QLatin1Char('0'))},
             {QStringLiteral("上方标题"), QStringLiteral("城东区图书馆")},
             {QStringLiteral("下方描述"), QStringLiteral("固定资产 请勿撕毁")}});
    return rows;
}

// The sample rows for a shipped template.
inline QList<QVariantMap> forTemplate(const QString& name) {
    if (name == QLatin1String("qikanCode"))
        return periodicals();
    if (name == QLatin1String("yxCode"))
        return audioVisual();
    if (name == QLatin1String("readerCode") || name == QLatin1String("reader"))
        return readers();
    if (name == QLatin1String("zdy"))
        return customBarcodes();
    return books();
}

} // namespace cangshu::report::samples
