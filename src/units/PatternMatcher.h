#pragma once
// The pattern matcher decides what a unit does next. It gathers what lies around the
// unit, pairs the objects of each enabled pattern with world objects of compatible kinds
// in similar places, scores every pattern (lower is better), chooses one and places its
// path in the world relative to the matched objects.
//
// There is one matcher (gPatternMatcher), made at start-up. Its work storage is shared
// by every run and only grows, so a warm run allocates nothing; for the same reason it
// is not re-entrant: one unit is evaluated at a time, on the main thread.
#include <cstdint>

#include "core/Array.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "units/MatchLine.h"
#include "units/PolarLayout.h"

class Pattern;
class PatternObject;
class Vorn;
class WorldObject;

// A line between two gathered world objects at their images nearest the unit, or the
// facing line of one object (3 units ahead along its heading).
class WrapLine : public MatchLine {
public:
    void Set(WorldObject* fromObject, WorldObject* toObject);
    bool IsFacingLine() const { return from == to; }

    WorldObject* from = nullptr;
    WorldObject* to = nullptr;
};

// A pair that the greedy pass may take, with how far apart the two polar angles are.
struct MatchCandidate {
    int32_t i = 0;  // pattern layout position
    int32_t j = 0;  // world layout position
    float angleDifference = 0.0f;
};

class PatternMatcher {
public:
    // The score of a pattern that was not evaluated.
    static constexpr int32_t kNoScore = INT32_MAX;

    PatternMatcher();
    ~PatternMatcher();
    PatternMatcher(const PatternMatcher&) = delete;
    PatternMatcher& operator=(const PatternMatcher&) = delete;

    // The whole run for one unit: afterwards the unit's current pattern is the chosen
    // one (or none), placed in the world, with its actions queued.
    void Evaluate(Vorn& unit);

    // Whether the pattern object may be paired with the world object.
    bool PairTest(const Vorn& unit, const PatternObject& p, const WorldObject& w) const;
    // Whether every property set in p holds for the world unit w.
    static bool PropertyTest(const Vorn& w, const PatternObject& p);
    // Pairs the pattern's objects with gathered world objects.
    void Assign(Vorn& unit, Pattern& pattern);
    // Lower is better. `final` stores the valid byte; a trial adds the priority instead.
    int32_t Cost(Vorn& unit, Pattern& pattern, bool final);
    // How badly the relations of the matched pairs disagree between pattern and world.
    float Misfit(Pattern& pattern, bool& relationsFit);

    // Makes the pattern (or none) the unit's current pattern, maps its path into the
    // world and queues its actions.
    void PlacePattern(Vorn& unit, Pattern* pattern);
    // A pattern point in the world, through its nearest linked pattern line; the line
    // used (or none) goes to *line when asked.
    Vector3 MapPoint(const Vorn& unit, const Pattern& pattern, const Vector2& q,
                     const PatternLine** line = nullptr) const;

    // What the last run gathered and built, for the pattern debugger and the tests.
    const Array<WorldObject*>& WorldObjects() const { return worldObjects_; }
    const PolarLayout& WorldLayout() const { return worldLayout_; }
    const Array<WrapLine>& WorldLines() const { return worldLines_; }
    const Matrix4& UnitMatrix() const { return unitMatrix_; }
    float Scale() const { return scale_; }
    // The summed capacity of the work storage, for checks that warm runs allocate nothing.
    int64_t WorkCapacity() const;

private:
    // A beacon or goal moved into view for the run, and where it really stands.
    struct SavedPlace {
        WorldObject* object = nullptr;
        Vector3 position;
    };
    // The placement and facing terms of one pattern object on one world object.
    struct PairTerms {
        float placement = 0.0f;
        float facing = 0.0f;
        uint8_t hasFacing = 0;
        uint8_t ready = 0;
    };
    // The misfit terms of one pair of matched pattern objects.
    struct PairValue {
        float angleTerm = 0.0f;
        float distanceTerm = 0.0f;
        float e = 0.0f;  // agreements, a count
        float f = 0.0f;  // disagreement weight, a count
    };
    // The pair values of one position with every other matched position, summed.
    struct PairShare {
        double geometry = 0.0;
        double agreements = 0.0;
        double disagreements = 0.0;
        void Add(const PairValue& value);
    };
    // The relations of one pair on both sides, with its counts e and f.
    struct PairRelations {
        const PolarLayout::Relation* pattern = nullptr;
        const PolarLayout::Relation* world = nullptr;
        int e = 0;
        int f = 0;
    };
    // The parts of a matching's cost, summed exactly (order-free) for the improvement
    // loop's bound; the cost itself is always the float sum in its stated order.
    struct CostParts {
        double geometry = 0.0;
        double agreements = 0.0;
        double disagreements = 0.0;
        double objectTerms = 0.0;  // unmatched objects and properties
        double placement = 0.0;    // placement and facing
        int matchedWorld = 0;
        int unmatchedObjects = 0;
        void AddPair(const PairValue& value, int sign);
        void AddShare(const PairShare& share, int sign);
        // The placement terms are left out when not asked for (they are never negative).
        void AddObject(PatternMatcher& matcher, int32_t position, int32_t j, int i, int sign,
                       bool withPlacement = true);
    };
    // A committed pair of the position a take moves with another matched position y:
    // everything of it that does not depend on the world object taken.
    struct TakePair {
        PolarLayout::Relation pattern;  // of the pair (y, moving), copied to sit beside the rest
        int32_t position = 0;           // y
        int32_t world = 0;              // y's committed partner
        // The relation table's row of the pair for y's touch terms, with the moving
        // position's touch terms still to be added.
        int32_t tableRow = 0;
    };
    // What a gathered world object can pair with, worked out once per run for every
    // pattern: the pattern kind it stands for (-1 none), the properties that hold for it
    // (all for kinds without properties), and for kinds that must be near or far alike
    // on both sides, whether it is near (kNearBoth when that does not matter).
    struct WorldTraits {
        int32_t kind = -1;
        uint8_t properties = 0;
        uint8_t nearness = 0;
        uint8_t nearZero = 0;  // stands on the unit, so that it has no direction
        uint8_t faced = 0;     // its facing angle is worked out for this run
    };
    // What the placement and facing terms need of a pattern object at a layout position.
    struct PositionTraits {
        uint8_t hasFacing = 0;
        uint8_t nearZero = 0;
    };
    // The relation counts of one take summed over the other matched positions.
    struct TakeSum {
        int agreements = 0;
        int disagreements = 0;
        int tableOffset = 0;  // the moving position's touch terms with the world object
    };
    // What Reaches adds up for every take of one visit alike.
    struct TakeBound {
        double exact = 0.0;
        double largest = 0.0;
        double operations = 0.0;
        double disagreements = 0.0;
        double priority = 0.0;  // when the take's relations fit
    };
    // A change of the matching tried by the improvement loop.
    struct Move {
        int32_t kind = 0;   // none, an exchange with visiting position m, or a take of world position j
        int32_t other = 0;  // m or j
    };

    void PullIntoView(const Vorn& unit, WorldObject& object);
    void RestoreSavedPlaces();
    void Gather(Vorn& unit);
    void GatherGoalsAndBeacons(const Vorn& unit, int32_t stamp);
    void GatherGrid(const Vorn& unit, int32_t stamp);
    void AddObject(WorldObject* object);
    void DescribeWorld(const Vorn& unit);

    // The pattern's tables for the cost: which object stands at which layout position,
    // property terms, and the pair terms filled on first use.
    void Prepare(const Pattern& pattern);
    PatternObject& PatternAt(int position) const;
    WorldObject& WorldAt(int position) const;
    // The world object at a layout position with its facing as the unit sees it.
    const WorldObject& FacedWorldAt(int32_t worldPosition);
    bool Compatible(int32_t worldPosition, int32_t patternPosition, int32_t patternCount) const;
    void Match(PatternObject& p, int32_t worldPosition);
    static void Unmatch(PatternObject& p);
    void ResetMatches(Vorn& unit, Pattern& pattern);
    void BuildCandidates(Pattern& pattern);
    void GreedyPass(Pattern& pattern);
    void TakeGroup(Pattern& pattern, int candidate);
    void Improve(Vorn& unit, Pattern& pattern);
    int PickCostliest(const Pattern& pattern) const;
    void TryMoves(Vorn& unit, Pattern& pattern, int k, int32_t& best, Move& bestMove);
    // `bounded`: the caller has already found that the bound cannot rule the move out.
    void TryMove(Vorn& unit, Pattern& pattern, int k, const Move& move, int32_t& best, Move& bestMove, bool bounded);
    const PairTerms& TermsOf(int32_t patternPosition, int32_t worldPosition);
    void ApplyMove(int k, const Move& move);
    // Every pattern object's cost, kept while a trial writes its own.
    void SaveCosts(const Pattern& pattern);
    void RestoreCosts(Pattern& pattern) const;
    // The float sum of the cost; the objects' shares are written when asked for.
    float CostSum(Vorn& unit, Pattern& pattern, bool final, bool objectCosts);
    template <bool kObjectCosts>
    float MisfitSum(Pattern& pattern, bool& relationsFit);
    void CountRelations(const Pattern& pattern, int a, int b, int ja, int jb, PairRelations& out) const;
    PairValue RelatePair(const Pattern& pattern, int a, int b, int ja, int jb) const;
    // The committed matching of the improvement loop: its pair values and cost parts.
    void Commit(const Pattern& pattern);
    // kWhole: with the placement of the moved objects and the geometry of their new pairs;
    // without, a lower bound of the same sums.
    template <bool kWhole>
    double AddEstimatedPair(const Pattern& pattern, int a, int b, int ja, int jb, CostParts& parts) const;
    void MoveOut(const Pattern& pattern, int x, int skip, CostParts& parts);
    template <bool kWhole>
    double MoveIn(const Pattern& pattern, int x, int32_t j, int skip, CostParts& parts);
    // MoveIn for the takes and exchanges of one position: the pairs' pattern sides are
    // read once per visit.
    void PrepareTakes(const Pattern& pattern, int x);
    template <bool kWhole>
    double MoveInTake(int x, int32_t j, int skip, int objectIndex, CostParts& parts);
    // The bounds of all takes of position x at once (takes_ to takeSums_), and whether
    // take t surely costs at least `best`.
    void BoundTakes(const Pattern& pattern, int x);
    void PrepareTakeBound(const Pattern& pattern, const CostParts& base);
    double TakePlacement(int x, int t);
    double TakeGeometry(int t) const;
    bool TakeReaches(int t, double placement, double geometry, int32_t best) const;
    // A pair's geometry terms in double, which needs no division.
    double EstimatedGeometry(const PolarLayout::Relation& rp, const PolarLayout::Relation& rw) const;
    bool Reaches(const Pattern& pattern, const CostParts& trial, double newGeometry, int32_t best) const;
    bool SurelyNotBelow(const Pattern& pattern, int32_t best);
    template <bool kWhole>
    bool ExchangeReaches(const Pattern& pattern, int32_t best);

    bool IsEnabledSlot(int slot) const { return (enabled_ >> slot & 1u) != 0; }
    void ApplyMapConditionals(Vorn& unit, Pattern& pattern);
    Pattern* Choose(Vorn& unit);

    // Placement up to the linking of lines: what map conditionals are tested through.
    void PlaceProvisionally(Vorn& unit, Pattern& pattern);
    void BuildWorldLines(Vorn& unit);
    void LinkLines(Pattern& pattern);
    void PlacePath(const Vorn& unit, Pattern& pattern);
    Vector3 MapThroughLine(const Vorn& unit, const Pattern& pattern, const PatternLine& line, const Vector2& q) const;
    Vector3 MapWithoutLine(const Vorn& unit, const Vector2& q) const;

    static void SortInts(int32_t* items, int lo, int hi);

    Array<WorldObject*> worldObjects_;
    PolarLayout worldLayout_;
    Array<int32_t> pickList_;
    Array<WrapLine> worldLines_;
    Matrix4 unitMatrix_;
    Matrix4 inverseUnitMatrix_;
    Array<SavedPlace> savedPlaces_;
    // The run's enabled pattern slots, one bit each.
    uint32_t enabled_ = 0;

    // Shared work storage of Assign and Cost, kept from run to run.
    Array<uint8_t> compatible_;  // [j * nP + i]
    Array<MatchCandidate> candidates_;
    Array<MatchCandidate> candidatesAsTheyCame_;
    Array<int32_t> visitingOrder_;
    Array<uint8_t> done_;
    Array<uint8_t> group_;
    Array<int32_t> groupPattern_;
    Array<int32_t> groupWorld_;
    // Per run: the world object at each world layout position, and the cost's sum of
    // s over k unmatched world objects for every k.
    Array<WorldObject*> worldAt_;
    Array<WorldTraits> worldTraits_;
    Array<float> unmatchedSums_;
    bool unitGathered_ = false;
    // Per assigned pattern (see Prepare).
    const Pattern* preparedPattern_ = nullptr;
    Array<PatternObject*> positionObject_;
    Array<PositionTraits> positionTraits_;
    Array<float> savedCosts_;  // by object list index
    Array<int32_t> objectPosition_;
    Array<float> propertyTerms_;
    Array<PairTerms> pairTerms_;  // [j * nP + i]
    // During the improvement loop: the misfit values of the committed matching by
    // pattern positions a < b, and the positions a trial has moved.
    Array<PairValue> pairValues_;  // [a * nP + b]
    bool pairValuesValid_ = false;
    Array<int32_t> committedPartner_;  // by pattern position
    Array<PairShare> shares_;          // by pattern position
    CostParts committed_;
    int differingConditionals_ = 0;
    int32_t changed_[2] = {-1, -1};
    // The misfit's scratch: matched pattern positions in visiting order, and partners.
    Array<int32_t> matchedPositions_;
    Array<int32_t> matchedPartners_;
    Array<TakePair> takePairs_;
    int8_t takeTouch_ = 0;        // the touch of the position the takes move
    int32_t preparedTakes_ = -1;  // that position during its visit, -1 none
    // The world positions a visit's takes try, their pair terms, and the committed parts
    // without the moving position.
    Array<int32_t> takes_;
    Array<TakeSum> takeSums_;
    TakeBound takeBound_;
    int takeObjectIndex_ = 0;  // the list index of the moving position's object
    // Every weight of the cost is expressed in it.
    float scale_ = -1.0f;
    // The misfit's geometry weights in double, for the improvement loop's bound.
    double angleScale_ = 0.0;
    double distanceScale_ = 0.0;
};

// The one matcher, made at start-up and destroyed at shutdown.
extern PatternMatcher* gPatternMatcher;
