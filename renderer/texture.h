#pragma once
// The one texture of the renderer and its bitmap reader: an uncompressed, 24-bit, bottom-up
// Windows bitmap, uploaded with every mipmap level. Needs a current GL context for everything
// but construction.
#include <cstdint>
#include <string_view>

namespace renderer {

class Texture {
 public:
  Texture() = default;
  ~Texture() { Release(); }
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // Releases any held texture, records the path, creates and binds a new texture name and sets
  // its wrap and filter parameters. Always true.
  bool Create(std::string_view path);
  // Deletes the held texture name, if any.
  void Release();
  // Binds the held texture name to GL_TEXTURE_2D.
  void Bind() const;
  // True when the image was read and handed to GL. Either way the holder has a texture name
  // afterwards, bound to GL_TEXTURE_2D; on false it holds no image.
  bool LoadBmp(std::string_view path);

  // The path last given to Create, cut to fit the field.
  const char* FileName() const { return fileName_; }
  // 0 when empty, else the GL texture name plus one.
  std::uint32_t NamePlusOne() const { return namePlusOne_; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

 private:
  char fileName_[64] = {};
  std::uint32_t namePlusOne_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

}  // namespace renderer
