#include "core/board_geometry.h"

namespace quorvel {
namespace {

const BoardGeometry kGeometries[] = {
    {19, 20, 9, 19, 1, "bmp\\GoBan19.bmp", "bmp\\GoStone.bmp"},
    {13, 29, 11, 26, 3, "bmp\\GoBan13.bmp", "bmp\\GoStone13.bmp"},
    {9, 42, 18, 39, 3, "bmp\\GoBan9.bmp", "bmp\\GoStone9.bmp"},
    {7, 52, 18, 44, 8, "bmp\\GoBan7.bmp", "bmp\\GoStone9.bmp"},
    {6, 60, 22, 52, 8, "bmp\\GoBan6.bmp", "bmp\\GoStone9.bmp"},
};

int SnapAxis(const BoardGeometry& g, int old, int coordinate) {
    if (coordinate < 9) coordinate = 9;
    for (int i = 1; i <= g.boardSize; ++i) {
        const int a = i * g.gridPitch;
        if (a - g.snapBefore < coordinate && coordinate <= a + g.snapAfter) return a - g.gridOffset;
    }
    return old;
}

}  // namespace

const BoardGeometry* GeometryFor(int boardSize) {
    for (const BoardGeometry& g : kGeometries) {
        if (g.boardSize == boardSize) return &g;
    }
    return nullptr;
}

HoverPoint SnapHover(const BoardGeometry& g, HoverPoint old, int mouseX, int mouseY) {
    if (mouseX > kHoverLimit || mouseY > kHoverLimit) return old;
    return {SnapAxis(g, old.x, mouseX), SnapAxis(g, old.y, mouseY)};
}

PointCode HoverToPoint(const BoardGeometry& g, HoverPoint h) {
    return ((g.gridOffset + h.x) / g.gridPitch) * kGridWidth + (g.gridOffset + h.y) / g.gridPitch;
}

std::vector<std::pair<int, int>> StarPoints(int boardSize) {
    std::vector<std::pair<int, int>> out;
    const auto grid = [&out](std::initializer_list<int> lines) {
        for (int c : lines) {
            for (int r : lines) out.push_back({c, r});
        }
    };
    switch (boardSize) {
        case 19: grid({4, 10, 16}); break;
        case 13:
            grid({4, 10});
            out.push_back({7, 7});
            break;
        case 9:
            grid({3, 7});
            out.push_back({5, 5});
            break;
        case 7: out.push_back({4, 4}); break;
        default: break;
    }
    return out;
}

}  // namespace quorvel
