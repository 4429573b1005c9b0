#include "sheet/quantiser/alpha_palette.h"

#include <vector>

#include "sheet/quantiser/network.h"
#include "sheet/quantiser/training.h"

namespace oz {
namespace {

// A trained neuron whose alpha comes out at this or above is made fully opaque
// where the image has opaque pixels: such a neuron learnt almost only from
// opaque pixels (its neighbours' pulls toward translucent samples left it a
// few levels short), and opaque pixels may use only entries of alpha 255.
constexpr int kOpaqueFrom = 252;

struct AlphaEnds {
  bool transparent = false;  // some pixel has alpha 0
  bool opaque = false;       // some pixel has alpha 255
};

AlphaEnds alphaEnds(const AlphaImage& image) {
  AlphaEnds ends;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* p = image.row(y);
    for (int32_t x = 0; x < image.width; ++x, p += 4) {
      ends.transparent = ends.transparent || p[3] == 0;
      ends.opaque = ends.opaque || p[3] == 255;
    }
  }
  return ends;
}

// Pins alpha 255 on the neurons that come out nearly opaque, or on the most
// opaque one (the first of equals) when none does, so that opaque pixels always
// have an entry.
void pinOpaque(Network& net) {
  int most = 0;
  bool any = false;
  for (int i = 0; i < net.netsize; ++i) {
    if (unGammaAlpha(net.alpha[i]) >= kOpaqueFrom) {
      net.alpha[i] = 255;
      any = true;
    }
    if (net.alpha[i] > net.alpha[most]) most = i;
  }
  if (!any) net.alpha[most] = 255;
}

// The neurons of `net` whose palette alpha is (opaque) or is not (!opaque) 255.
Network selectNeurons(const Network& net, bool opaque) {
  Network part;
  for (int i = 0; i < net.netsize; ++i) {
    if ((unGammaAlpha(net.alpha[i]) == 255) != opaque) continue;
    part.alpha.push_back(net.alpha[i]);
    part.blue.push_back(net.blue[i]);
    part.green.push_back(net.green[i]);
    part.red.push_back(net.red[i]);
    ++part.netsize;
  }
  return part;
}

}  // namespace

AlphaPalette trainAlphaPalette(const AlphaImage& image, int bits, const GammaTable& gt,
                               int sampleDivisor) {
  const AlphaEnds ends = alphaEnds(image);
  AlphaPalette result;
  result.size = 1 << bits;
  // Every pixel of alpha 0 takes one reserved entry, (0, 0, 0, 0); the
  // network learns from the other pixels with the remaining neurons.
  const int reserved = ends.transparent ? 1 : 0;
  Network net = initialNetwork(result.size - reserved, gt);
  trainNetwork(net, gt, image, ContestKind::Fast, sampleDivisor);
  if (ends.opaque) pinOpaque(net);

  Network translucent = selectNeurons(net, false);
  Network opaque = selectNeurons(net, true);
  const Colormap translucentMap = finishNetwork(translucent, gt);
  result.opaque = finishNetwork(opaque, gt);

  std::vector<GammaColour> colours;
  if (reserved != 0) {
    result.transparent = 0;
    colours.push_back(GammaColour{});
  }
  const auto append = [&](const Network& part, const Colormap& map) {
    const auto entries = paletteOf(part);
    for (int i = 0; i < part.netsize; ++i) {
      result.colours[colours.size()] = entries[i];
      colours.push_back(map.colours[i]);
    }
  };
  append(translucent, translucentMap);
  result.firstOpaque = static_cast<int>(colours.size());
  append(opaque, result.opaque);
  result.all = sortedColormap(colours, result.allOrder);
  return result;
}

AlphaSearch::AlphaSearch(const AlphaPalette& palette, const GammaTable& gt, bool remember)
    : palette_(palette),
      opaque_(palette.opaque, gt, SearchStop::EachSide),
      all_(palette.all, gt),
      remembered_(remember ? std::make_unique<ColourCache<18>>() : nullptr) {}

}  // namespace oz
