#pragma once
// Bounding shapes attached to scene objects: a point, a sphere or an
// axis-aligned box, each placed by an offset from its owner; and the set a
// geometry object carries (one main box and up to 50 further shapes). The
// renderer tests them against the camera's view volume; the set is stored in
// the scene file and, on its own, in a PHZ file.

#include "math/Frustum.h"
#include "math/Ka7Transform.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class RecordReader;
class RecordWriter;

enum class KaShapeKind { Point, Sphere, AABB };

// The point shape and the base of the other two.
class KaBoundingObj {
public:
    KaBoundingObj() = default;
    virtual ~KaBoundingObj() = default;
    KaBoundingObj(const KaBoundingObj&) = delete;
    KaBoundingObj& operator=(const KaBoundingObj&) = delete;

    virtual KaShapeKind Kind() const { return KaShapeKind::Point; }
    // A new shape of the same kind with zero extents (as the set makes its
    // further shapes before assigning or reading them).
    virtual std::unique_ptr<KaBoundingObj> NewOfSameKind() const;

    // Visible against the view volume at the shape's centre (the owner's
    // position plus the local offset); always true with frustum culling off.
    // The result is kept in FrustumResult.
    bool TestFrustum(const KaFrustum& frustum, const KaTransformation& owner);
    // Copies the local placement and FrustumResult; a sphere or box also its
    // extent, and refuses another kind with "неверный тип в assigned".
    virtual void Assign(const KaBoundingObj& source);
    // The shape record with its tag.
    void SaveToFile(RecordWriter& file) const;
    // The shape record after its tag (the caller has read it).
    void LoadFromFile(RecordReader& file);
    // The pairwise test of the two kinds at their world positions; false
    // without a partner.
    bool Intersects(const KaBoundingObj* other) const;
    // WorldTrans := LocalTrans placed by the owner's transformation.
    void UpdateWorld(const KaTransformation& owner);
    // Wire drawing at the centre placed by `owner`: nothing for a point, a
    // wire sphere, or the box's edges as one line strip. The caller sets
    // colour and blending.
    virtual void Render(const KaTransformation& owner) const;

    // The centre the view-volume test uses.
    Vector3 Centre(const KaTransformation& owner) const;

    KaTransformation LocalTrans;
    KaTransformation WorldTrans;
    std::uint8_t FrustumResult = 0;

protected:
    virtual bool testAt(const KaFrustum& frustum, const Vector3& centre) const;
    virtual void saveExtent(RecordWriter& file) const;
    virtual void loadExtent(RecordReader& file);
    void assignPlacement(const KaBoundingObj& source);
};

class KaBoundingSphere : public KaBoundingObj {
public:
    explicit KaBoundingSphere(float radius = 2.0f) : Radius(radius) {}

    KaShapeKind Kind() const override { return KaShapeKind::Sphere; }
    std::unique_ptr<KaBoundingObj> NewOfSameKind() const override;
    void Assign(const KaBoundingObj& source) override;
    void Render(const KaTransformation& owner) const override;

    float Radius;

protected:
    bool testAt(const KaFrustum& frustum, const Vector3& centre) const override;
    void saveExtent(RecordWriter& file) const override;
    void loadExtent(RecordReader& file) override;
};

class KaBoundingAABB : public KaBoundingObj {
public:
    explicit KaBoundingAABB(const Vector3& size = {1, 1, 1}) : Size(size) {}

    KaShapeKind Kind() const override { return KaShapeKind::AABB; }
    std::unique_ptr<KaBoundingObj> NewOfSameKind() const override;
    void Assign(const KaBoundingObj& source) override;
    void Render(const KaTransformation& owner) const override;

    // Half extents along x, y, z (the box–box test reads them as full extents).
    Vector3 Size;

protected:
    bool testAt(const KaFrustum& frustum, const Vector3& centre) const override;
    void saveExtent(RecordWriter& file) const override;
    void loadExtent(RecordReader& file) override;
};

inline constexpr std::int32_t kMaxBoundingShapes = 50;

class KaBoundingVolume {
public:
    KaBoundingVolume();
    ~KaBoundingVolume();
    KaBoundingVolume(const KaBoundingVolume&) = delete;
    KaBoundingVolume& operator=(const KaBoundingVolume&) = delete;

    // A copy of `shape` in the next free slot; a 51st raises a range error.
    void AddCopy(const KaBoundingObj& shape);
    // Visible when the main box is and, if there are further shapes, at
    // least one of them is. The result is kept in FrustumResult.
    bool TestFrustum(const KaFrustum& frustum, const KaTransformation& owner);
    void Assign(const KaBoundingVolume& source);
    void UpdateWorld(const KaTransformation& owner);
    // The main box, then each further shape.
    void Render(const KaTransformation& owner) const;

    void SaveToFile(RecordWriter& file) const;
    // Reads a set record. Returns false, with the set unchanged, when the
    // record does not begin with the tags "vol" and "aab": nothing after the
    // mismatching tag is read. A shape count above 50 or a short file throws.
    bool LoadFromFile(RecordReader& file);
    // A PHZ file: exactly one set record.
    void SaveToPhzFile(std::string_view storedName) const;
    bool LoadFromPhzFile(std::string_view storedName);

    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    KaBoundingObj& Item(std::int32_t index) const;

    std::unique_ptr<KaBoundingObj> Main;
    std::uint8_t FrustumResult = 1;

private:
    void clearItems();

    // The slots in use; never more than kMaxBoundingShapes. Held as a vector
    // so that a set without further shapes costs no memory for them.
    std::vector<std::unique_ptr<KaBoundingObj>> items_;
};

// "AABB" → box, "Точка" → point, anything else a sphere.
std::unique_ptr<KaBoundingObj> ShapeClassByName(std::string_view editorName);
// "aab" → box, "poi" → point, anything else a sphere.
std::unique_ptr<KaBoundingObj> ShapeClassByTag(std::string_view tag);
std::string_view ShapeTag(KaShapeKind kind);

// Bytes of a shape record with its tag: 52 for a point, 56 for a sphere, 64 for a box.
std::size_t ShapeRecordSize(KaShapeKind kind);

} // namespace ra7
