#include "export_layout.h"

#include "app_globals.h"

ScriptString HtmlHeader(const ScriptString& title, const ScriptString& fontSize)
{
    ScriptString header("<html>");
    for (const char* line : {"<head>", "<title>"}) {
        header.Append(CRLF);
        header.Append(line);
    }
    header.Append(title);
    header.Append("</title>");
    for (const char* line :
         {"<meta name='GENERATOR' content='Glyphmill 1.2'>", "</head>", "<body>", "<pre>", "<font size='"}) {
        header.Append(CRLF);
        header.Append(line);
    }
    header.Append(fontSize);
    header.Append("'>");
    return header;
}

ScriptString HtmlFooter()
{
    ScriptString footer;
    for (const char* line : {"</font>", "</pre>", "</body>", "</html>"}) {
        footer.Append(CRLF);
        footer.Append(line);
    }
    return footer;
}
