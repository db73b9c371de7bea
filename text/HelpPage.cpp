// The help page: the help document drawn on the help stage, with a one-line notice of how to
// leave it. Each request reads the document afresh and draws the whole page.
#include "applet/Applet.h"
#include "text/HelpPage.h"
#include "text/Markup.h"
#include "text/TextResourceReader.h"

namespace sph {

int Applet::DrawHelpPage(const host::Event*) {
    host::Canvas* canvas = nullptr;
    helpStage->GetCanvas(&canvas);
    canvas->Clear(255, 153, 0);

    char text[kHelpTextLimit + 1];
    int result = 1;
    {
        TextResourceReader reader(kHelpDocumentName);
        result = reader.ReadQuotedString(text, kHelpTextLimit);
    }
    if (result == 0) {
        // Line ends in the document are only for its writer: the page breaks lines at its
        // <BR> and <P> tags alone.
        for (char* p = text; *p != '\0'; ++p) {
            if (*p == '\r' || *p == '\n') *p = ' ';
        }
        DrawMarkup(canvas, text, 0, 10);
    }

    DrawMarkup(canvas, kHelpNotice, 285, 0);
    canvas->Release();
    return 0;
}

}  // namespace sph
