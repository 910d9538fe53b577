#include "document/ByteForm.h"

ByteForm toByteForm(const QString &text, const platform::AnsiCodec &codec)
{
    ByteForm form;
    form.bytes = codec.encode(text, &form.lossless);
    if (!form.lossless)
        form.unencodable = codec.unencodableSample(text);
    return form;
}

QString lossyByteFormQuestion(const ByteForm &form)
{
    return QStringLiteral("文本中有 GBK 编码无法保存的字符(%1),保存后将变为“?”。是否继续保存?").arg(form.unencodable);
}
