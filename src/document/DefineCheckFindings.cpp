#include "document/DefineCheckFindings.h"

#include "document/DefineVocabulary.h"

#include <QStringList>
#include <algorithm>

namespace define_check {

DefineProblem::Severity severityOf(Kind kind)
{
    switch (kind) {
    case Kind::StoredAsText:
    case Kind::Undecodable:
    case Kind::UnknownSqlType:
    case Kind::Unencodable: return DefineProblem::Severity::Warning;
    default: return DefineProblem::Severity::Error;
    }
}

void Findings::add(Finding finding)
{
    if (severityOf(finding.kind) == DefineProblem::Severity::Error)
        ++m_errors;
    else
        ++m_warnings;
    finding.sequence = m_sequence++;
    if (finding.offset <= m_after || (m_before >= 0 && finding.offset >= m_before))
        return;
    if (static_cast<qsizetype>(m_kept.size()) < m_limit) {
        m_kept.push(std::move(finding));
    } else if (m_limit > 0 && m_kept.order()(finding, m_kept.top())) {
        m_kept.pop();
        m_kept.push(std::move(finding));
    }
}

std::vector<Finding> Findings::takeSorted()
{
    std::vector<Finding> sorted;
    sorted.reserve(m_kept.size());
    const bool keepLast = m_kept.order().keepLast;
    while (!m_kept.empty()) {
        sorted.push_back(m_kept.top());
        m_kept.pop();
    }
    if (!keepLast)
        std::reverse(sorted.begin(), sorted.end());
    return sorted;
}

namespace {

struct Position {
    qsizetype line = 1;
    qsizetype column = 1;
};

// Lines and columns of byte offsets, walking the text once from the start up to the last one.
class PositionSweep {
public:
    explicit PositionSweep(QByteArrayView text) : m_text(text) {}

    // Offsets must come in increasing order.
    Position at(qsizetype offset)
    {
        offset = std::clamp<qsizetype>(offset, 0, m_text.size());
        const auto *s = reinterpret_cast<const unsigned char *>(m_text.data());
        for (; m_offset < offset; ++m_offset) {
            const unsigned char c = s[m_offset];
            if (c == '\n' || (c == '\r' && !(m_offset + 1 < m_text.size() && s[m_offset + 1] == '\n'))) {
                ++m_line;
                m_column = 1;
            } else if ((c & 0xC0) != 0x80) {
                ++m_column;
            }
        }
        return {m_line, m_column};
    }

private:
    QByteArrayView m_text;
    qsizetype m_offset = 0;
    qsizetype m_line = 1;
    qsizetype m_column = 1;
};

// A word of the text for a message, cut short when it is long.
QString shown(std::string_view word)
{
    constexpr qsizetype kShownChars = 40;
    QString text = QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
    if (text.size() > kShownChars) {
        text.truncate(kShownChars);
        text += QStringLiteral("…");
    }
    return text;
}

QString tagName(int tag)
{
    if (tag < 0 || tag >= static_cast<int>(define_vocabulary::kTags.size()))
        return QString();
    const std::string_view name = define_vocabulary::kTags[static_cast<size_t>(tag)];
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString sqlTypes()
{
    QStringList types;
    for (std::string_view type : define_vocabulary::kSqlTypes)
        types << QString::fromLatin1(type.data(), static_cast<qsizetype>(type.size()));
    return types.join(QStringLiteral(", "));
}

QString attributeList(int tag)
{
    QStringList names;
    for (std::string_view name : define_vocabulary::attributesOf(tag))
        names << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    return names.join(QStringLiteral(", "));
}

QString misplaced(int tag)
{
    switch (define_vocabulary::placeOf(tag)) {
    case define_vocabulary::Place::Root: return QStringLiteral("<defineSqls> 只能作为最外层的根标记");
    case define_vocabulary::Place::InRoot: return QStringLiteral("<define> 只能直接写在 <defineSqls> 中");
    case define_vocabulary::Place::InDefine: break;
    }
    return QStringLiteral("<%1> 只能写在 <define> 中").arg(tagName(tag));
}

QString message(const Finding &f, qsizetype relatedLine, const QString &codePageName)
{
    const QString tag = tagName(f.tag);
    const QString slash = f.closing ? QStringLiteral("/") : QString();
    const QString suggestion = shown(f.suggestion);
    const QString word = shown(f.detail);
    switch (f.kind) {
    case Kind::RuleFailure: return f.note;
    case Kind::UnclosedStart: return QStringLiteral("<%1> 没有结束标记 </%1>").arg(tag);
    case Kind::StrayEnd: return QStringLiteral("</%1> 没有对应的开始标记 <%1>").arg(tag);
    case Kind::CrossingEnd:
        return QStringLiteral("</%1> 与第 %2 行的 <%3> 交叉: <%3> 应在 </%1> 之前结束")
            .arg(tag)
            .arg(relatedLine)
            .arg(tagName(f.otherTag));
    case Kind::EndTagUnterminated: return QStringLiteral("结束标记 </%1 缺少“>”").arg(tag);
    case Kind::StartTagUnterminated: return QStringLiteral("开始标记 <%1 缺少“>”").arg(tag);
    case Kind::UnclosedValue: return QStringLiteral("属性 %1 的值缺少结束的引号").arg(word);
    case Kind::AttributeWithoutValue: return QStringLiteral("属性 %1 缺少“=”和带引号的值").arg(word);
    case Kind::UnquotedValue: return QStringLiteral("属性 %1 的值没有加引号").arg(word);
    case Kind::StrayInTag: return QStringLiteral("开始标记 <%1 中有多余的“%2”").arg(tag, word);
    case Kind::UnclosedComment: return QStringLiteral("注释 <!-- 没有结束标记 -->");
    case Kind::RawInStored:
        return QStringLiteral("“<%1”保存时不会被转义,平台会把它读作标记 <%1>;若是比较运算,请在“<”后加一个空格")
            .arg(word);
    case Kind::StoredAsText:
        return QStringLiteral("<%1%2> 保存时将被转义,存为文本,平台不会把它当作标记(规则文件中没有还原它的规则)")
            .arg(slash, tag);
    case Kind::LiteralEntity:
        return QStringLiteral("“%1”保存后再打开将变为“%2”").arg(word, f.detail == "&lt;"   ? QStringLiteral("<")
                                                                           : f.detail == "&gt;" ? QStringLiteral(">")
                                                                                                : QStringLiteral("\""));
    case Kind::StoredDiffers: return QStringLiteral("按规则文件转义后,保存的文本从这里起再打开时与原文不同");
    case Kind::UnknownTag:
        return QStringLiteral("未知标记 <%1%2>,是否应为 <%1%3>?").arg(slash, word, suggestion);
    case Kind::UnknownAttribute:
        if (!suggestion.isEmpty())
            return QStringLiteral("<%1> 没有属性 %2,是否应为 %3?").arg(tag, word, suggestion);
        if (define_vocabulary::attributesOf(f.tag).empty())
            return QStringLiteral("<%1> 不带属性,%2 是多余的").arg(tag, word);
        return QStringLiteral("<%1> 没有属性 %2(它的属性: %3)").arg(tag, word, attributeList(f.tag));
    case Kind::DuplicateAttribute: return QStringLiteral("<%1> 的属性 %2 重复").arg(tag, word);
    case Kind::BlankAroundEquals: return QStringLiteral("属性 %1 的“=”两侧不能有空白").arg(word);
    case Kind::SingleQuotes: return QStringLiteral("属性 %1 的值须用双引号括起").arg(word);
    case Kind::SelfClosing: return QStringLiteral("<%1/> 不能自闭合,请写成 <%1…></%1>").arg(tag);
    case Kind::Misplaced: return misplaced(f.tag);
    case Kind::SecondRoot: return QStringLiteral("只能有一个根标记 <defineSqls>,这是第二个");
    case Kind::TextOutsideRoot: return QStringLiteral("根标记 <defineSqls> 之外不能有文本");
    case Kind::Undecodable:
        return QStringLiteral("文件此处有 %1 编码无法识别的字节,保存后它们将变为“?”").arg(codePageName);
    case Kind::NulCharacter: return QStringLiteral("此处有 NUL 字符(编码为 0 的控制字符),请删除");
    case Kind::DefineWithoutName: return QStringLiteral("<define> 没有 name 属性");
    case Kind::DefineNameEmpty: return QStringLiteral("<define> 的 name 为空");
    case Kind::DuplicateDefine:
        return QStringLiteral("define 的名称“%1”与第 %2 行的 define 重复").arg(word).arg(relatedLine);
    case Kind::UnknownSqlType:
        return QStringLiteral("sql 的 type“%1”不是已知的类型(%2)").arg(word, sqlTypes());
    case Kind::Unencodable:
        return QStringLiteral("“%1”不能用 %2 编码保存,保存后将变为“?”").arg(word, codePageName);
    }
    return QString();
}

} // namespace

std::vector<DefineProblem> describe(QByteArrayView utf8, const std::vector<Finding> &findings,
                                    const QString &codePageName)
{
    // Every offset a problem needs, in order, for one walk over the text.
    std::vector<qsizetype> offsets;
    offsets.reserve(findings.size() * 2);
    for (const Finding &f : findings) {
        offsets.push_back(f.offset);
        if (f.related >= 0)
            offsets.push_back(f.related);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    std::vector<Position> positions;
    positions.reserve(offsets.size());
    PositionSweep sweep(utf8);
    for (qsizetype offset : offsets)
        positions.push_back(sweep.at(offset));
    const auto positionOf = [&](qsizetype offset) {
        const auto it = std::lower_bound(offsets.begin(), offsets.end(), offset);
        return positions[static_cast<size_t>(it - offsets.begin())];
    };

    std::vector<DefineProblem> problems;
    problems.reserve(findings.size());
    for (const Finding &f : findings) {
        const Position at = positionOf(f.offset);
        const qsizetype relatedLine = f.related >= 0 ? positionOf(f.related).line : 0;
        problems.push_back({severityOf(f.kind), at.line, at.column, f.offset, f.length,
                            message(f, relatedLine, codePageName)});
    }
    return problems;
}

} // namespace define_check
