// Texts of controls drawn with SDL_ttf in fonts resolved by fontconfig. Sizes are points at 96 dpi, as
// on the original's screens; bold and italic use the font's own faces where installed.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/controls/geometry.h"
#include "platform/fonts/font_resolver.h"
#include "platform/sdl/text_renderer.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;
typedef struct _TTF_Font TTF_Font;

namespace taviro::platform {

class TtfTextRenderer : public TextRenderer, public TextMeasurer {
public:
    // Throws GameError when SDL_ttf cannot start.
    explicit TtfTextRenderer(SDL_Renderer* renderer);
    ~TtfTextRenderer() override;
    TtfTextRenderer(const TtfTextRenderer&) = delete;
    TtfTextRenderer& operator=(const TtfTextRenderer&) = delete;

    // The renderer to draw with from now on (the display makes a new one when its size changes).
    void SetRenderer(SDL_Renderer* renderer);
    // Forgets the texts not drawn since the last call; called once per composed screen.
    void EndFrame();

    void DrawLabel(const Label& label, const Rect& bounds) override;
    void DrawList(const ListBox& list, const Rect& bounds) override;

    // The size of a text in a font; wrapWidth 0 keeps each line whole.
    Point Measure(const std::string& text, const FontSpec& font, int wrapWidth = 0) override;

    // Texts the next frames may show, measured at idle so that opening one of them finds them ready;
    // replaces the texts given before.
    void MeasureAhead(std::vector<ShownText> texts);
    // Measures texts given to MeasureAhead until the time, one at least; false when none is left.
    bool MeasureSomeAhead(std::chrono::steady_clock::time_point until);

    // How many texts were rendered so far, for tests and benchmarks.
    size_t renderedCount() const { return renderedCount_; }

    // The pixel height of the em of a font of this many points on a 96-dpi screen.
    static int PixelSize(double points);

    // The font file used for a font, for reports and tests.
    const ResolvedFont& Resolved(const FontSpec& font) {
        return fonts_.Resolve(font.name, font.bold, font.italic);
    }

private:
    // A text laid out in a font at a wrap width with an alignment.
    struct TextKey {
        std::string text;
        FontSpec font;
        int wrapWidth;
        int alignment;
        bool operator<(const TextKey& other) const;
    };
    // A text rendered once in white: its size answers Measure, and its texture, tinted, draws it in
    // every colour. Null when it cannot be rendered.
    struct Shape {
        SDL_Surface* surface = nullptr;
        Point size;
    };
    struct TextTexture {
        SDL_Texture* texture = nullptr;
        int width = 0;
        int height = 0;
        bool used = true;
    };

    TTF_Font* FontFor(const FontSpec& font);
    // The shape of a text, rendered when it is not kept yet. Valid until the next call.
    Shape ShapeOf(TextKey key);
    // Lets go of the oldest shapes until `incoming` more bytes fit in the budget.
    void MakeRoomForShape(size_t incoming);
    // Draws text at a point, wrapped to wrapWidth when it is not 0, aligned 0 left, 1 right, 2 centre.
    void DrawText(const std::string& text, const FontSpec& font, uint32_t colorBgr, const Rect& area,
                  int wrapWidth, int alignment);
    void ForgetTexts();

    SDL_Renderer* renderer_;
    // A text drawn in one frame is usually drawn in the next: its texture is kept while it is.
    std::map<TextKey, TextTexture> texts_;
    std::map<TextKey, Shape> shapes_;
    std::deque<std::map<TextKey, Shape>::iterator> shapesByAge_;
    size_t shapeBytes_ = 0;
    size_t renderedCount_ = 0;
    std::deque<ShownText> toMeasure_;
    FontResolver fonts_;
    std::map<std::tuple<std::string, int, int, int>, TTF_Font*> open_;  // file, index, pixels, style
};

}  // namespace taviro::platform
