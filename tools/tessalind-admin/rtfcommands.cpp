// rtf text / rtf write: the rich edit control's reading and writing, for
// users converting files and for scripts. Both read FILE the way a stored
// text is read: as RTF, or as plain text when it does not begin as RTF.

#include "tools/tessalind-admin/command.h"

#include "platform/richedit/richedit.h"
#include "platform/richedit/rtfreaderror.h"

#include <QByteArray>

#include <cstdio>

namespace {

void load(RichEdit& edit, const std::string& path)
{
    const std::string bytes = readFileBytes(path);
    const QByteArray data(bytes.data(), qsizetype(bytes.size()));
    try {
        edit.streamIn(data, RichEdit::Stream::Rtf);
    } catch (const RtfReadError&) {
        edit.streamIn(data, RichEdit::Stream::PlainText);
    }
}

void put(const QByteArray& bytes)
{
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) != std::size_t(bytes.size()) ||
        std::fflush(stdout) != 0)
        throw Exception("cannot write to standard output");
}

const AdminCommand rtfText("rtf text", "FILE",
                           "the plain text of FILE (RTF, or plain text) as the rich edit gives it: UTF-8, CR LF",
                           [](const std::vector<std::string>& args) {
                               expectArgs(args, 1, rtfText);
                               RichEdit edit;
                               load(edit, args[0]);
                               put(edit.text().toUtf8());
                               return 0;
                           });

const AdminCommand rtfWrite("rtf write", "FILE",
                            "reads FILE (RTF, or plain text) into the rich edit and writes its whole content as RTF",
                            [](const std::vector<std::string>& args) {
                                expectArgs(args, 1, rtfWrite);
                                RichEdit edit;
                                load(edit, args[0]);
                                put(edit.streamOut(RichEdit::Stream::Rtf));
                                return 0;
                            });

}  // namespace
