// Drawing texts with SDL_ttf.
#include "platform/sdl/ttf_text_renderer.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>

#include "platform/game_error.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

// Labels keep the Windows line ends of game texts; SDL_ttf breaks lines at '\n' alone.
std::string WithoutCarriageReturns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r') out.push_back(c);
    return out;
}

// Rendered texts kept for measuring and drawing: a few hundred frames' worth of captions.
constexpr size_t kShapeBudgetBytes = 16 * 1024 * 1024;

size_t BytesOf(const SDL_Surface* surface) {
    return surface ? static_cast<size_t>(surface->pitch) * static_cast<size_t>(surface->h) : 0;
}

}  // namespace

TtfTextRenderer::TtfTextRenderer(SDL_Renderer* renderer) : renderer_(renderer) {
    if (TTF_Init() != 0) {
        log::Error(std::string("cannot draw texts: ") + TTF_GetError());
        throw GameError(51, "Cannot draw texts");
    }
}

bool TtfTextRenderer::TextKey::operator<(const TextKey& other) const {
    auto tie = [](const TextKey& k) {
        return std::tie(k.text, k.font.name, k.font.sizePoints, k.font.bold, k.font.italic, k.font.underline,
                        k.font.strikeout, k.wrapWidth, k.alignment);
    };
    return tie(*this) < tie(other);
}

void TtfTextRenderer::SetRenderer(SDL_Renderer* renderer) {
    ForgetTexts();
    renderer_ = renderer;
}

void TtfTextRenderer::ForgetTexts() {
    for (auto& [key, cached] : texts_) SDL_DestroyTexture(cached.texture);
    texts_.clear();
}

void TtfTextRenderer::EndFrame() {
    for (auto it = texts_.begin(); it != texts_.end();) {
        if (it->second.used) {
            it->second.used = false;
            ++it;
        } else {
            SDL_DestroyTexture(it->second.texture);
            it = texts_.erase(it);
        }
    }
}

TtfTextRenderer::~TtfTextRenderer() {
    ForgetTexts();
    for (auto& [key, shape] : shapes_) SDL_FreeSurface(shape.surface);
    for (auto& [key, font] : open_) TTF_CloseFont(font);
    TTF_Quit();
}

int TtfTextRenderer::PixelSize(double points) {
    // Letters taller than any game's window serve nobody; a damaged size of thousands of points
    // would make each rendered text a picture of gigabytes.
    constexpr double kLargestPixels = 512;
    return static_cast<int>(std::lround(std::clamp(points * 96.0 / 72.0, 1.0, kLargestPixels)));
}

TTF_Font* TtfTextRenderer::FontFor(const FontSpec& fontSpec) {
    const ResolvedFont& resolved = fonts_.Resolve(fontSpec.name, fontSpec.bold, fontSpec.italic);
    int style = TTF_STYLE_NORMAL;
    // A family without a bold or italic face gets the style drawn by SDL_ttf.
    if (fontSpec.bold && !resolved.boldFace) style |= TTF_STYLE_BOLD;
    if (fontSpec.italic && !resolved.italicFace) style |= TTF_STYLE_ITALIC;
    if (fontSpec.underline) style |= TTF_STYLE_UNDERLINE;
    if (fontSpec.strikeout) style |= TTF_STYLE_STRIKETHROUGH;
    int pixels = PixelSize(fontSpec.sizePoints);
    auto key = std::make_tuple(resolved.file, resolved.faceIndex, pixels, style);
    if (auto it = open_.find(key); it != open_.end()) return it->second;
    // At 72 dpi a point is a pixel, so the size given is the em in pixels.
    TTF_Font* font = TTF_OpenFontIndex(resolved.file.c_str(), pixels, resolved.faceIndex);
    if (!font) {
        log::Error("cannot open the font file " + resolved.file + ": " + TTF_GetError());
        return nullptr;
    }
    TTF_SetFontStyle(font, style);
    return open_[key] = font;
}

TtfTextRenderer::Shape TtfTextRenderer::ShapeOf(TextKey key) {
    key.wrapWidth = std::max(0, key.wrapWidth);
    if (auto it = shapes_.find(key); it != shapes_.end()) return it->second;
    Shape shape;
    if (TTF_Font* font = FontFor(key.font)) {
        TTF_SetFontWrappedAlign(font, key.alignment == 1   ? TTF_WRAPPED_ALIGN_RIGHT
                                      : key.alignment == 2 ? TTF_WRAPPED_ALIGN_CENTER
                                                           : TTF_WRAPPED_ALIGN_LEFT);
        std::string clean = WithoutCarriageReturns(key.text);
        // Blended text is the colour throughout, its coverage in the alpha: white tinted by the
        // texture's colour is the text rendered in that colour.
        shape.surface = TTF_RenderUTF8_Blended_Wrapped(font, clean.c_str(), SDL_Color{255, 255, 255, 255},
                                                       static_cast<Uint32>(key.wrapWidth));
        if (shape.surface) shape.size = {shape.surface->w, shape.surface->h};
        ++renderedCount_;
    }
    const size_t bytes = BytesOf(shape.surface);
    MakeRoomForShape(bytes);
    auto it = shapes_.emplace(std::move(key), shape).first;
    shapesByAge_.push_back(it);
    shapeBytes_ += bytes;
    return shape;
}

void TtfTextRenderer::MakeRoomForShape(size_t incoming) {
    while (!shapesByAge_.empty() && shapeBytes_ + incoming > kShapeBudgetBytes) {
        auto oldest = shapesByAge_.front();
        shapesByAge_.pop_front();
        shapeBytes_ -= BytesOf(oldest->second.surface);
        SDL_FreeSurface(oldest->second.surface);
        shapes_.erase(oldest);
    }
}

Point TtfTextRenderer::Measure(const std::string& text, const FontSpec& fontSpec, int wrapWidth) {
    if (text.empty()) {
        TTF_Font* font = FontFor(fontSpec);
        return {0, font ? TTF_FontLineSkip(font) : 0};
    }
    return ShapeOf({text, fontSpec, wrapWidth, 0}).size;
}

void TtfTextRenderer::MeasureAhead(std::vector<ShownText> texts) {
    toMeasure_.assign(std::make_move_iterator(texts.begin()), std::make_move_iterator(texts.end()));
}

bool TtfTextRenderer::MeasureSomeAhead(std::chrono::steady_clock::time_point until) {
    // One text at least, so that a turn whose time the pictures took still gets on.
    do {
        if (toMeasure_.empty()) return false;
        Measure(toMeasure_.front().text, toMeasure_.front().font);
        toMeasure_.pop_front();
    } while (std::chrono::steady_clock::now() < until);
    return !toMeasure_.empty();
}

void TtfTextRenderer::DrawText(const std::string& text, const FontSpec& fontSpec, uint32_t colorBgr,
                               const Rect& area, int wrapWidth, int alignment) {
    if (text.empty()) return;
    TextKey key{text, fontSpec, wrapWidth, alignment};
    auto it = texts_.find(key);
    if (it == texts_.end()) {
        Shape shape = ShapeOf(key);
        if (!shape.surface) return;
        TextTexture made{SDL_CreateTextureFromSurface(renderer_, shape.surface), shape.size.x, shape.size.y};
        if (!made.texture) return;
        it = texts_.emplace(std::move(key), made).first;
    }
    TextTexture& cached = it->second;
    cached.used = true;
    int x = area.x;
    if (alignment == 1) x = area.x + area.width - cached.width;
    if (alignment == 2) x = area.x + (area.width - cached.width) / 2;
    SDL_Rect target{x, area.y, cached.width, cached.height};
    SDL_SetTextureColorMod(cached.texture, colorBgr & 0xFF, (colorBgr >> 8) & 0xFF, (colorBgr >> 16) & 0xFF);
    SDL_RenderCopy(renderer_, cached.texture, nullptr, &target);
}

void TtfTextRenderer::DrawLabel(const Label& label, const Rect& bounds) {
    // A label breaks its caption between words at its width, unless it grows to fit one line.
    int wrapWidth = label.autoSize && !label.wordWrap ? 0 : std::max(1, bounds.width);
    Rect area = bounds;
    // A button's caption sits in the middle of its height.
    if (label.kind() == ControlKind::CommandButton && !label.caption.empty())
        area.y += std::max(0, (bounds.height - Measure(label.caption, label.font, wrapWidth).y) / 2);
    DrawText(label.caption, label.font, label.foreColor, area, wrapWidth, label.alignment);
}

void TtfTextRenderer::DrawList(const ListBox& list, const Rect& bounds) {
    ListBox::Layout layout = list.LayoutIn(bounds);
    const int count = static_cast<int>(list.items().size());
    for (int row = 0; row < layout.rowCount; ++row) {
        int item = list.topIndex() + row;
        if (item >= count) break;
        Rect line{layout.rows.x, layout.rows.y + row * layout.rowHeight, layout.rows.width, layout.rowHeight};
        bool selected = item == list.listIndex();
        if (selected) {
            SDL_SetRenderDrawColor(renderer_, 0, 0, 128, 255);
            SDL_Rect r{line.x, line.y, line.width, line.height};
            SDL_RenderFillRect(renderer_, &r);
        }
        line.x += 2;
        line.width -= 2;
        DrawText(list.items()[static_cast<size_t>(item)], list.font, selected ? 0xFFFFFF : list.foreColor,
                 line, 0, 0);
    }
}

}  // namespace taviro::platform
