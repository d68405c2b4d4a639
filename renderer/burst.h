#pragma once
// The burst: twelve tinted, textured squares sharing the centre, each swelling from nothing to its
// own limit, fading over its last unit of growth and then replaced, while the whole set tumbles.
// Everything moves by the frame time dt. Draws with OpenGL 1.1 on whatever context is current.
#include "renderer/texture.h"

namespace renderer {

inline constexpr int kParticleCount = 12;
inline constexpr char kTexturePath[] = "c:\\ostrik\\Lorvane.bmp";

// Seven parallel arrays, one entry per particle.
struct ParticleArrays {
  float Scale[kParticleCount];   // the square spans ±Scale in its own plane
  float Angle[kParticleCount];   // fixed orientation, degrees about x, then y, then z
  float Red[kParticleCount];
  float Green[kParticleCount];
  float Blue[kParticleCount];
  float Growth[kParticleCount];  // scale units per second
  float Limit[kParticleCount];   // scale at which the particle ends
};
extern ParticleArrays Particles;

// Rotation of the whole set, degrees.
struct SceneAngles {
  float X = 0, Y = 0, Z = 0;
};
extern SceneAngles SceneAngle;

// Seconds since the previous frame; written by the frame before each DrawScene.
extern float dt;
// Client size recorded by the frame; InitScene takes the aspect ratio from it once.
extern int ClientWidth;
extern int ClientHeight;
// The sprite every square wears.
extern Texture SpriteTexture;

// One-time set-up: projection, the twelve particles, the sprite. Always true.
bool InitScene();
// Draws one frame and advances everything by dt.
void DrawScene();
// Fresh values for particle i, six draws of the generator; scale back to 0.
void SpawnParticle(int i);
// Draws particle i, then grows it; past its limit it is spawned anew.
void DrawParticle(int i);
// Full until the scale is within one unit of the limit, then falling linearly to 0 at it.
double Brightness(float scale, float limit);

}  // namespace renderer
