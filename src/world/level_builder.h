#pragma once
#include <memory>

class TList;

// Lays out the opposition's buildings of a mission: small fixed groups (a neighbourhood, a simple
// base, an air base, ...) lined up on the ground alternately left and right of everything already
// standing, so the battlefield grows outward from the homebase on both sides in turn. No instance is
// ever made; the edges belong to one battlefield, the house picture cycle to the whole run.
class levelBuilder {
  public:
    levelBuilder() = delete;

    static constexpr int whitespace = 80;

    static inline int leftEdge = -360;   // x reached on the left; the next left group starts 120 beyond
    static inline int rightEdge = 360;   // x reached on the right
    static inline int nextSide = 0;      // -1 left, 1 right; flips after every group
    static inline int houseImgIndex = 1; // the house picture handed out last, cycling 1..4
    static inline int startPointStep = 88;

    static void reset();
    // Steps an index through 1, 2, 3, 4, 1, ... and answers the new value.
    static int setHouseImgIndex(int& index);
    // Places a group (in creation order, left to right) beyond the edge of the next side; answers 0.
    static float placeBuildings(TList& group);

    static void makeNeighbourhood();
    static void makeGuardedNeighbourhood();
    static void makeSimpleBase();
    static void makeAirminePost();
    static void makeAirBase();
    static void makeFactory();
    static void makeHeavyDefense();

    static float getRandomWhitespace();
    static float getStartPoint(int n);
};
