// The connection-string parser on any text: a DbError with a message, or a supported provider
// and a data source. A data source written between the parts reads back trimmed and unquoted,
// and placeholder substitution ends, whatever the placeholder and the value.
#include "fuzzsupport.h"

#include "platform/data/connectionstring.h"
#include "platform/data/errors.h"

namespace {

void checkParse(const QString &text)
{
    try {
        const ConnectionString parsed = ConnectionString::parse(text);
        FUZZ_CHECK(ConnectionString::isSupportedProvider(parsed.provider), text);
        FUZZ_CHECK(!parsed.dataSource.isEmpty(), text);
    } catch (const DbError &error) {
        FUZZ_CHECK(!error.message().isEmpty(), text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    checkParse(text);

    QString source = text;
    source.remove(u';');
    source = source.trimmed();
    const bool quoted = source.size() >= 2 && (source.front() == u'"' || source.front() == u'\'')
                        && source.back() == source.front();
    if (!quoted && !source.isEmpty()) {
        const QString written = QStringLiteral("Provider=SQLite;Data Source= ") + source + u';';
        checkParse(written);
        FUZZ_CHECK(ConnectionString::parse(written).dataSource == source, written);
    }

    const qsizetype split = text.size() / 3;
    const QString placeholder = text.left(split);
    const QString value = text.mid(split, split);
    const QString substituted = substitutePlaceholder(text, placeholder, value);
    if (!text.contains(placeholder, Qt::CaseInsensitive))
        FUZZ_CHECK(substituted == text, text);
    return 0;
}
