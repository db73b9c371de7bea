// Text buttons: a bold, underlined label drawn twice on one picture, black for the normal look
// on the left and yellow for the highlighted look on the right.
#include <cstring>

#include "applet/Applet.h"
#include "host/GameLook.h"
#include "text/Markup.h"

namespace sph {

host::Button* Applet::CreateTextButton(const char* label, int x, int y, int id, int fontSize,
                                       void* context, host::Callback handler) {
    if (label == nullptr) label = "";

    host::Canvas* stageCanvas = nullptr;
    stage->GetCanvas(&stageCanvas);
    host::Font* font = factory->CreateFont("Arial", fontSize, host::kStyleBold);
    // Measured in the bold font on the stage's canvas, whose own font stays as it was. The
    // underline added below does not change the width.
    host::Size measured{0, 0};
    stageCanvas->MeasureText(font, label, static_cast<int32_t>(std::strlen(label)), &measured);
    stageCanvas->Release();

    const int32_t halfWidth = measured.width + 4;
    const int32_t height = measured.height;
    host::Canvas* image = factory->CreateCanvas(2 * halfWidth, height, 0);
    image->SetFont(font);
    image->Clear(host::look::kBackgroundRed, host::look::kBackgroundGreen,
                   host::look::kBackgroundBlue);
    image->SetTextColor(0, 0, 0);

    DrawMarkup(image, "<B><U>", 0, 0);
    DrawMarkup(image, label, 0, 0);
    image->SetTextColor(255, 255, 0);
    DrawMarkup(image, label, halfWidth, 0);
    font->Release();
    DrawMarkup(image, "</B></U>", 0, 0);

    host::Button* button =
        factory->CreateButton(stage, context, x, y, halfWidth, height, image, 0, id, handler);
    image->Release();
    return button;
}

}  // namespace sph
