#pragma once

#include "data/dcarray.h"
#include "data/status.h"
#include "image/imagedibobject.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

class CGeometryTranslate;
class CImageCovert;
class CImagePainter;
struct DecodedPicture;

// What loadPictureFile refuses before reading a file: a missing file or an
// extension it does not read (an empty message: the caller says what), a
// folder or anything but a regular file (the reason).
Status checkPictureFile(const std::filesystem::path &path);
// A decoded picture as a picture in state 3 outside any engine, its rows
// taken over without copying; refused for decoder output of the wrong size
// (with a message) or when memory is refused (without). Safe on any thread.
Result<std::unique_ptr<CImageDibObject>> pictureObjectOf(DecodedPicture &&decoded);

// A bitmap the desktop program holds (the built-in sample picture): rows top
// row first, blue, green, red and, at 32 bits, a fourth byte per pixel (the
// byte order of QImage::Format_BGR888 and Format_RGB32). Other formats are
// converted to one of these by the desktop program beforehand.
struct SourceBitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // 24 or 32
    std::ptrdiff_t bytesPerLine = 0; // at least width x bitsPerPixel / 8
    const std::uint8_t *bits = nullptr; // first byte of the top row
};

// Keeps every picture the program works with (the base picture as loaded,
// the view picture, the magnified picture), each named by a picture ID: the
// decimal text of a counter that is never reset, so that no ID is handed out
// twice in a run. The engine owns the pictures; callers refer to them by ID
// and may hold the returned pointers only until the next call that deletes.
class CImageEngine
{
public:
    CImageEngine();
    ~CImageEngine();
    CImageEngine(const CImageEngine &) = delete;
    CImageEngine &operator=(const CImageEngine &) = delete;

    // Creates the converter and the auxiliary objects (replacing earlier
    // ones); gray conversion and scaling refuse until then.
    void initialise();
    // Destroys the converter and the auxiliary objects; pictures stay.
    void release();
    bool isInitialised() const { return m_initialised; }

    // Destroys every picture; the ID counter goes on where it was.
    void clearPictures();
    int pictureCount() const { return m_pictures.count(); }

    // A new empty picture under the next ID (written to newId), or none. The
    // counter advances even when the picture cannot be stored.
    CImageDibObject *createPicture(std::string &newId);
    CImageDibObject *findPicture(std::string_view id) const;
    // False, changing nothing, for an unknown ID.
    bool deletePicture(std::string_view id);
    // An exact copy under the next ID. For an unknown source, or when the
    // copy cannot be stored, false: newId stays empty and no ID is used up.
    bool duplicatePicture(std::string_view sourceId, std::string &newId);
    // Gray conversion in place; false when not initialised, the ID is
    // unknown or the converter refuses.
    bool grayPicture(std::string_view id);
    // Creates a picture (its ID into newId) and scales the source into it.
    // False when not initialised, the source is unknown, no picture could be
    // created or the converter refuses; a refused scale leaves the empty new
    // picture in the engine under newId.
    bool scalePicture(std::string_view sourceId, std::string &newId, int width, int height);

    // Loads a .jpg/.jpeg/.bmp/.dib (or .png) file, extension in any letter
    // case, as a new picture in state 3. On failure the engine is as it was
    // and the error's text tells what to show: empty when there is nothing
    // to explain (missing file, extension not read, no picture could be
    // created: the caller shows its own message), else the decoder's reason
    // for rejecting the file.
    Result<CImageDibObject *> loadPictureFile(const std::filesystem::path &path, std::string &newId);
    // Takes a bitmap the desktop program holds as a new picture in state 3:
    // 24-bit pixels become blue, green, red, 0; 32-bit pixels are taken as
    // they are. None for a bitmap that is not a usable 24/32-bit one, or
    // when no picture could be created.
    CImageDibObject *loadPictureFromImage(const SourceBitmap &source, std::string &newId);
    // Takes a picture made outside the engine (pictureObjectOf, on a loading
    // thread) under the next ID; none, the picture dropped, when it cannot be
    // stored.
    CImageDibObject *adoptPicture(std::unique_ptr<CImageDibObject> picture, std::string &newId);

private:
    static int comparePictures(const void *key, const void *element);
    CImageDibObject *pictureAt(int index) const;
    // Stores a picture whose ID is set; the engine owns it from then on.
    bool insertPicture(std::unique_ptr<CImageDibObject> &picture);
    // A picture of width x height at 32 bits around rows already laid out,
    // under a new ID; none when no picture could be created.
    CImageDibObject *addLoadedPicture(int width, int height, std::vector<std::uint8_t> &&rows, std::string &newId);

    DCArray m_pictures;
    bool m_initialised = false;
    std::int64_t m_nextId = 1;
    std::unique_ptr<CImageCovert> m_covert;
    std::unique_ptr<CGeometryTranslate> m_geometry;
    std::unique_ptr<CImagePainter> m_painter;
    mutable CImageDibObject m_searchKey; // an empty picture carrying the wanted ID
};

} // namespace pigmora
