#include "LangCollect.h"

#include "framework/config/CLMultiLang.h"
#include "framework/rtl/Exceptions.h"

namespace vp {

namespace {

const char kUsage[] = "usage: langcollect [options] <output.lan>\n"
                      "Builds the program's windows and writes their texts into a language file in\n"
                      "canonical order (ANSI text, or UTF-8 with its mark when the code page cannot\n"
                      "hold every letter; CR LF).\n"
                      "  --base <file.lan>      start from this language file; collected texts replace\n"
                      "                         its keys of the same name, everything else stays\n"
                      "  --clear-forms          drop the window sections of the base file first\n"
                      "  --language <name>      the language's own name (Info / Language)\n"
                      "  --exclude-empty        skip empty texts\n"
                      "  --exclude-number-end   skip components whose names end in a digit\n"
                      "  --exclude-with-action  skip components that take their texts from an action\n"
                      "  --list                 list the windows and stop\n";

struct TOptions {
    String Output;
    String Base;
    String Language;
    bool ClearForms = false;
    bool ExcludeEmpty = false;
    bool ExcludeNumberEnd = false;
    bool ExcludeWithAction = false;
    bool List = false;
};

// Empty when the arguments are fine, otherwise what is wrong with them.
std::string ParseOptions(const std::vector<String>& args, TOptions& options)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const String& arg = args[i];
        auto value = [&](String& target) {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        if (arg == u"--base") {
            if (!value(options.Base))
                return "--base needs a file";
        } else if (arg == u"--language") {
            if (!value(options.Language))
                return "--language needs a name";
        } else if (arg == u"--clear-forms") {
            options.ClearForms = true;
        } else if (arg == u"--exclude-empty") {
            options.ExcludeEmpty = true;
        } else if (arg == u"--exclude-number-end") {
            options.ExcludeNumberEnd = true;
        } else if (arg == u"--exclude-with-action") {
            options.ExcludeWithAction = true;
        } else if (arg == u"--list") {
            options.List = true;
        } else if (arg.starts_with(u"-")) {
            return "unknown option " + U16ToUtf8(arg);
        } else if (options.Output.empty()) {
            options.Output = arg;
        } else {
            return "only one output file";
        }
    }
    if (options.Output.empty() && !options.List)
        return "no output file";
    return {};
}

} // namespace

int RunLangCollect(
    const std::vector<String>& args, const TLangWindowList& windows, std::ostream& out, std::ostream& err)
{
    TOptions options;
    if (std::string problem = ParseOptions(args, options); !problem.empty()) {
        err << "langcollect: " << problem << "\n" << kUsage;
        return 2;
    }
    if (options.List) {
        for (const TLangWindowList::TEntry& entry : windows.Entries())
            out << U16ToUtf8(entry.ClassName) << "\n";
        return 0;
    }

    // Collecting runs the windows in design state: errors of single properties come here.
    TDesignMessageBox previous = SetDesignMessageBox(
        [&err](const String& text) { err << "langcollect: skipped " << U16ToUtf8(text) << "\n"; });
    int result = 0;
    try {
        TCLMultiLangData data(nullptr);
        data.SetExcludeEmptyProp(options.ExcludeEmpty);
        data.SetExcludeNumberEndProps(options.ExcludeNumberEnd);
        data.SetExcludeWithAction(options.ExcludeWithAction);
        if (!options.Base.empty())
            data.LoadCurrentFromFile(options.Base);
        if (options.ClearForms)
            data.ClearCurrentAllForm();
        if (!options.Language.empty())
            data.SetProp(u"Info", u"", u"Language", options.Language);
        windows.CollectInto(data);
        data.SaveCurrentToFile(options.Output);
        out << "langcollect: " << windows.Entries().size() << " windows written to "
            << U16ToUtf8(options.Output) << "\n";
    } catch (const Exception& error) {
        err << "langcollect: " << U16ToUtf8(error.Message()) << "\n";
        result = 1;
    }
    SetDesignMessageBox(previous);
    return result;
}

} // namespace vp
