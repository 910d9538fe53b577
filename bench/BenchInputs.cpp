#include "BenchInputs.h"

#include "document/DefineEscaping.h"

#include <QStringEncoder>

namespace {

const QString kBlock = QStringLiteral(
    "\t<define name=\"saveBill%1\" caption=\"保存单据\">\r\n"
    "\t\t<sql type=\"condition\">\r\n"
    "\t\t\tselect count(*) from tblBill where billNo = '@billNo' and amount > 0 and qty <= 100\r\n"
    "\t\t</sql>\r\n"
    "\t\t<error>单据号已存在, 请检查 \"单据号\" & 日期</error>\r\n"
    "\t\t<sql type=\"exec\">\r\n"
    "\t\t\tupdate tblBill set status = 1 where billId = @billId and (flag <> 2 or memo = 'A & B')\r\n"
    "\t\t</sql>\r\n"
    "\t\t<!-- 审核后不能修改 -->\r\n"
    "\t\t<confirm>确认要保存吗?</confirm>\r\n"
    "\t\t<sucess>保存成功</sucess>\r\n"
    "\t</define>\r\n");

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
    for (int i = 0; builder.measuredSize() + closing.size() < targetBytes; ++i)
        builder.append(kBlock.arg(i));
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
