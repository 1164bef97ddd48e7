// Draws a window's control tree with an SDL renderer, back to front, each control clipped to its
// containers. Textures are made once per decoded picture and kept.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "platform/clock.h"
#include "platform/controls/form.h"
#include "platform/pictures/picture_cache.h"

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;

namespace taviro::platform {

class TextRenderer;
class ComboBox;

class SceneRenderer {
public:
    // Texts are drawn by `text` when one is given (labels show only their background without it).
    SceneRenderer(SDL_Renderer* renderer, PictureCache& pictures, const Clock& clock,
                  TextRenderer* text = nullptr);
    ~SceneRenderer();
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Draws the whole form with its top-left corner at `origin` of the target. A picture that cannot be
    // loaded is reported to the log once and left out.
    void Draw(const Form& form, Point origin = {});

    // Draws one control and everything in it with its top-left corner at `origin` of the target, as
    // if it were shown: its own Visible is ignored, its children's is not (for captures of the scene).
    void DrawControlAt(const Control& control, Point origin);

    // Draws the drag image of a control being dragged at the control's size, centred on a point of the
    // target (the mouse); nothing when the control has no drag image. Call it after Draw.
    void DrawDragImage(const Control& source, Point at);

    // The texture of a surface, made on first use and kept while the surface lives.
    // `opaque`: the picture is known to have no transparent pixel, so it need not be looked at.
    SDL_Texture* TextureOf(const std::shared_ptr<SDL_Surface>& surface, bool opaque);

    // The picture of a game path, or nullptr when it cannot be loaded (reported once).
    std::shared_ptr<const Picture> PictureOf(const std::string& gamePath);
    // The texture of a frame of an animation decoded frame by frame, brought up to that frame.
    SDL_Texture* StreamedTexture(const Picture& picture, size_t frame);

    // Makes the textures of pictures decoded ahead, oldest first, one picture at a time until
    // `budget` has passed, so that opening their frame finds them made. True when some remain.
    bool PrepareDecodedAhead(PicturePreloader& preloader, std::chrono::microseconds budget);

    // Drops the textures whose surfaces nobody else holds.
    void Trim();
    size_t textureCount() const { return textures_.size(); }

private:
    struct Clip;
    // True when a picture hides everything under it in the area, so that the colour need not be drawn.
    bool CoveredByOpaquePicture(const std::string& gamePath, const Rect& area);
    // True when a shown child is drawn opaque over the whole area (window pixels): a picture box, a
    // frame or label with a background, or an image whose opaque picture fills it. The control's own
    // background need not be drawn then.
    bool CoveredByOpaqueChild(const Control& control, const Rect& area);
    void DrawCheckBox(const CheckBox& box, const Rect& bounds);
    // A white box with a black border, its text and, with the focus, the caret.
    void DrawTextBox(const TextBox& box, const Rect& bounds);
    // A round button, with a dot when it is set.
    void DrawOptionButton(const OptionButton& button, const Rect& bounds);
    // The track, the arrow boxes at the ends and the thumb.
    void DrawScrollBar(const ScrollBar& bar, const Rect& bounds);
    // A list's background, border, rows and, when it scrolls, its scroll bar, in an area of the target.
    void DrawListBox(const ListBox& list, const Rect& area);
    // The field with the text and the button with its arrow.
    void DrawComboBox(const ComboBox& box, const Rect& bounds);
    // The open list of a combo box over everything else, clipped to the container below the window.
    void DrawDropDown(const ComboBox& box);
    // The figure's fill and border, row by row.
    void DrawShape(const ShapeControl& shape, const Rect& bounds);
    // The line between its ends, clipped to its container.
    void DrawLine(const LineControl& line);
    void DrawRaisedEdge(const Rect& bounds);
    void DrawControl(const Control& control, const Clip& clip, bool evenHidden = false);
    // An animated picture shows the frame of `animationMs` into its animation (the clock's time when -1).
    void DrawPicture(const std::string& gamePath, const Rect& area, bool stretch, int64_t animationMs = -1);
    void Fill(const Rect& area, uint32_t colorBgr);

    SDL_Renderer* renderer_;
    Point origin_;  // where the form's client area is on the target
    PictureCache& pictures_;
    const Clock& clock_;
    TextRenderer* text_;
    struct CachedTexture {
        std::shared_ptr<SDL_Surface> surface;  // kept so that the address is not reused
        SDL_Texture* texture;
    };
    std::unordered_map<SDL_Surface*, CachedTexture> textures_;
    std::unordered_map<SDL_Surface*, uint64_t> streamedRevisions_;  // the revision each texture shows
    std::set<std::string> failedPictures_;
    struct CanvasTexture {
        uint64_t revision = 0;
        SDL_Texture* texture = nullptr;
        int width = 0;
        int height = 0;
        bool used = false;  // drawn in the current frame; the others are dropped after it
    };
    std::unordered_map<uint64_t, CanvasTexture> canvases_;  // by canvas id
    void DrawCanvas(const Canvas& canvas, const Rect& bounds);
};

}  // namespace taviro::platform
