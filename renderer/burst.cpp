#include "renderer/burst.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "renderer/random.h"

namespace renderer {

ParticleArrays Particles{};
SceneAngles SceneAngle{};
float dt = 0.0f;
int ClientWidth = 0;
int ClientHeight = 0;
Texture SpriteTexture;

namespace {

// The growth range's 0.3 is the single-precision constant.
constexpr float kGrowthRange = 0.3f;

// Adds rate × dt degrees; past 360 it comes back by 360 once.
float Turn(float angle, double rate) {
  angle = static_cast<float>(angle + dt * rate);
  if (angle > 360.0) angle = static_cast<float>(angle - 360.0);
  return angle;
}

}  // namespace

void SpawnParticle(int i) {
  Particles.Scale[i] = 0.0f;
  Particles.Angle[i] = static_cast<float>(RandomUpTo(360));
  Particles.Red[i] = static_cast<float>(RandomUpTo(1));
  Particles.Green[i] = static_cast<float>(RandomUpTo(1));
  Particles.Blue[i] = static_cast<float>(RandomUpTo(1));
  Particles.Growth[i] = static_cast<float>(RandomUpTo(kGrowthRange) + 0.5);
  Particles.Limit[i] = static_cast<float>(RandomUpTo(1) + 1.0);
}

bool InitScene() {
  glViewport(0, 0, ClientWidth, ClientHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(55.0, static_cast<double>(ClientWidth) / static_cast<double>(ClientHeight), 1.0,
                 20.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -3.0f);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

  // Every first scale lies beyond every limit: the first frame draws them all black and
  // re-spawns them, so all twelve start growing together in the second frame.
  for (int i = 0; i < kParticleCount; ++i) {
    SpawnParticle(i);
    Particles.Scale[i] = static_cast<float>(RandomUpTo(1) + 3.0);
  }

  // Without the file the squares are drawn as plain tinted squares.
  SpriteTexture.LoadBmp(kTexturePath);
  SpriteTexture.Bind();
  glEnable(GL_TEXTURE_2D);
  // Additive: overlapping squares brighten towards white.
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_BLEND);
  return true;
}

double Brightness(float scale, float limit) {
  return scale <= limit - 1.0 ? 1.0 : limit - static_cast<double>(scale);
}

void DrawParticle(int i) {
  glPushMatrix();
  const float s = Particles.Scale[i];
  glScalef(s, s, s);
  const double b = Brightness(s, Particles.Limit[i]);
  const float angle = Particles.Angle[i];
  glRotatef(angle, 1.0f, 0.0f, 0.0f);
  glRotatef(angle, 0.0f, 1.0f, 0.0f);
  glRotatef(angle, 0.0f, 0.0f, 1.0f);
  glColor3f(static_cast<float>(b * Particles.Red[i]), static_cast<float>(b * Particles.Green[i]),
            static_cast<float>(b * Particles.Blue[i]));
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-1.0f, -1.0f, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(1.0f, -1.0f, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(1.0f, 1.0f, 0.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-1.0f, 1.0f, 0.0f);
  glEnd();

  // Drawn before it grows: no particle is ever drawn beyond its limit after the first frame.
  Particles.Scale[i] = static_cast<float>(s + static_cast<double>(dt) * Particles.Growth[i]);
  if (Particles.Scale[i] > Particles.Limit[i]) SpawnParticle(i);
  glPopMatrix();
}

void DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT);
  glPushMatrix();
  glRotatef(SceneAngle.X, 1.0f, 0.0f, 0.0f);
  glRotatef(SceneAngle.Y, 0.0f, 1.0f, 0.0f);
  glRotatef(SceneAngle.Z, 0.0f, 0.0f, 1.0f);
  SceneAngle.X = Turn(SceneAngle.X, 5.0);
  SceneAngle.Y = Turn(SceneAngle.Y, 10.0);
  SceneAngle.Z = Turn(SceneAngle.Z, 7.0);
  for (int i = 0; i < kParticleCount; ++i) DrawParticle(i);
  glPopMatrix();
}

}  // namespace renderer
