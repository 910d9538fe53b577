#include "BenchInputs.h"

#include "document/DefineEscaping.h"

#include <QStringEncoder>

#include <cstdint>

namespace {

// A small fixed generator: every run builds the same document.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    template <typename T, std::size_t N> const T &pick(const T (&items)[N]) { return items[next() % N]; }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t m_state;
};

const char *const kVerbs[] = {"save", "check", "list", "audit", "delete", "load", "sum", "copy", "close", "print"};
const char *const kEntities[] = {"Bill", "Order", "Stock", "Invoice", "Customer", "Payment", "Voucher", "Item"};
const char *const kTables[] = {"tblBill", "tblOrder", "tblStock", "tblInvoice", "tblCustomer", "tblPayment",
                               "tblVoucher", "tblItem", "tblBillDetail", "tblWarehouse"};
const char *const kFields[] = {"billNo", "billDate", "amount", "qty", "status", "memo", "customerId",
                               "price", "warehouseId", "checker", "flag", "remark"};
const char *const kTypes[] = {"condition", "class", "define", "procedure", "setValue", "setInputType"};
const char16_t *const kCaptions[] = {u"保存单据", u"审核单据", u"单据列表", u"删除明细", u"库存汇总",
                                     u"客户资料", u"收款登记", u"发票打印", u"结账处理", u"仓库调拨"};
const char16_t *const kMessages[] = {u"单据号已存在", u"库存不足, 不能出库", u"该单据已审核, 不能修改",
                                     u"客户不存在或已停用", u"金额必须大于零", u"请先选择仓库"};
const char16_t *const kComments[] = {u"审核后不能修改", u"按日期汇总", u"注意: 负数表示退货", u"旧版本兼容"};

QString field(Dice &dice) { return QString::fromLatin1(dice.pick(kFields)); }
QString table(Dice &dice) { return QString::fromLatin1(dice.pick(kTables)); }

// One SQL statement in one of the shapes define files hold, with the characters escaping turns
// into entities (< > & ' ") where real statements have them.
QString statement(Dice &dice)
{
    const QString t = table(dice), a = field(dice), b = field(dice), c = field(dice);
    const int n = dice.below(1000);
    switch (dice.below(7)) {
    case 0:
        return QStringLiteral("select count(*) from %1 where %2 = '@%2' and %3 > %4").arg(t, a, b).arg(n);
    case 1:
        return QStringLiteral("update %1 set %2 = %3 where %4 = @%4 and (%2 <> %3 or %4 = 'A & B')")
            .arg(t, a).arg(n).arg(b);
    case 2:
        return QStringLiteral("select %1, %2, sum(%3) as total from %4\r\n\t\t\twhere %2 >= '@beginDate' "
                              "and %2 <= '@endDate'\r\n\t\t\tgroup by %1, %2 order by %1")
            .arg(a, b, c, t);
    case 3:
        return QStringLiteral("insert into %1 (%2, %3, memo) values (@%2, %4, '%5')")
            .arg(t, a, b)
            .arg(n)
            .arg(QString::fromUtf16(dice.pick(kCaptions)));
    case 4:
        return QStringLiteral("delete from %1 where %2 < %3 and %4 like '%%5%'").arg(t, a).arg(n).arg(b, QString::fromUtf16(dice.pick(kMessages)).left(2));
    case 5:
        return QStringLiteral("exec proc_%1_%2 @%3, \"%4\"").arg(t).arg(n).arg(a, QString::fromUtf16(dice.pick(kCaptions)));
    default:
        return QStringLiteral("select a.%1, b.%2 from %3 a inner join %4 b on a.%1 = b.%1\r\n\t\t\twhere a.%5 > 0 && "
                              "b.%2 <> '' -- %6")
            .arg(a, b, t, table(dice), c, QString::fromUtf16(dice.pick(kComments)));
    }
}

// One define of one to three statements and some of the messages a define carries.
QString defineBlock(Dice &dice, int index)
{
    QString block = QStringLiteral("\t<define name=\"%1%2%3\" caption=\"%4\">\r\n")
                        .arg(QString::fromLatin1(dice.pick(kVerbs)), QString::fromLatin1(dice.pick(kEntities)))
                        .arg(index)
                        .arg(QString::fromUtf16(dice.pick(kCaptions)));
    const int statements = 1 + dice.below(3);
    for (int i = 0; i < statements; ++i) {
        block += QStringLiteral("\t\t<sql type=\"%1\">\r\n\t\t\t%2\r\n\t\t</sql>\r\n")
                     .arg(QString::fromLatin1(dice.pick(kTypes)), statement(dice));
        if (dice.below(3) == 0)
            block += QStringLiteral("\t\t<error>%1</error>\r\n").arg(QString::fromUtf16(dice.pick(kMessages)));
    }
    if (dice.below(4) == 0)
        block += QStringLiteral("\t\t<!-- %1 -->\r\n").arg(QString::fromUtf16(dice.pick(kComments)));
    if (dice.below(3) == 0)
        block += QStringLiteral("\t\t<confirm>确认要%1吗?</confirm>\r\n").arg(QString::fromUtf16(dice.pick(kCaptions)));
    if (dice.below(2) == 0)
        block += QStringLiteral("\t\t<sucess>%1成功</sucess>\r\n").arg(QString::fromUtf16(dice.pick(kCaptions)).left(2));
    block += QStringLiteral("\t</define>\r\n");
    return block;
}

class DocumentBuilder {
public:
    explicit DocumentBuilder(DefineForm measured) : m_measured(measured) {}

    void append(const QString &readable)
    {
        const QByteArray utf8 = readable.toUtf8();
        QByteArray stored = escapeEntitiesUtf8(utf8);
        restoreTagsUtf8(stored);
        m_doc.readableUtf8 += utf8;
        m_doc.storedUtf8 += stored;
        m_doc.readableGbk += m_gbk(readable);
        m_doc.storedGbk += m_gbk(QString::fromUtf8(stored));
    }

    qsizetype measuredSize() const
    {
        switch (m_measured) {
        case DefineForm::ReadableUtf8: return m_doc.readableUtf8.size();
        case DefineForm::StoredUtf8: return m_doc.storedUtf8.size();
        case DefineForm::ReadableGbk: return m_doc.readableGbk.size();
        case DefineForm::StoredGbk: break;
        }
        return m_doc.storedGbk.size();
    }

    DefineDocument take() { return std::move(m_doc); }

private:
    DefineForm m_measured;
    DefineDocument m_doc;
    QStringEncoder m_gbk{"GBK"}; // one encoder for the whole run: opening one costs more than a block
};

} // namespace

DefineDocument makeDefineDocument(qsizetype targetBytes, DefineForm measured)
{
    const QString closing = QStringLiteral("</defineSqls>\r\n");
    DocumentBuilder builder(measured);
    builder.append(QStringLiteral("<defineSqls>\r\n"));
    Dice dice(20261207u);
    for (int i = 0; builder.measuredSize() + closing.size() < targetBytes; ++i)
        builder.append(defineBlock(dice, i));
    builder.append(closing);
    return builder.take();
}

QString siteRuleFile(int count)
{
    const QString tags[] = {QStringLiteral("defineSqls"), QStringLiteral("confirm"), QStringLiteral("sucess")};
    QString text;
    for (int i = 0; i < count; ++i) {
        switch (i % 5) {
        case 0: // an opening tag restored as markup
            text += QStringLiteral("<%1>|<%1>\r\n").arg(tags[(i / 5) % 3]);
            break;
        case 1: // its closing tag
            text += QStringLiteral("</%1>|</%1>\r\n").arg(tags[(i / 5) % 3]);
            break;
        case 2: // a column renamed by a site
            text += QStringLiteral("\\bmemo%1\\b|remark%1\r\n").arg(i);
            break;
        case 3: // a marker that stands in for a tag while the text is escaped
            text += QStringLiteral("<param%1 |@@PARAM%1@@|<param%1 \r\n").arg(i);
            break;
        default: // a table alias with a group
            text += QStringLiteral("\\btblArchive%1_(\\d+)\\b|tblArchive%1_$1\r\n").arg(i);
            break;
        }
    }
    return text;
}
