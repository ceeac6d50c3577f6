#include "scene/Ka7BoundingVolume.h"

#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/RecordFile.h"

#include <cmath>
#include <string>

namespace ra7 {

namespace {

const char* const kWrongKind = "неверный тип в assigned";
const char* const kRangeError = "Range check error";

bool frustumCullingOff()
{
    return !Settings.UseFrustumCulling;
}

float sqr(float v)
{
    return v * v;
}

float component(const Vector3& v, int axis)
{
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

bool sphereHitsBox(const Vector3& p, float r, const Vector3& q, const Vector3& s)
{
    float sum = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const float pc = component(p, axis);
        const float low = component(q, axis) - component(s, axis);
        const float high = component(q, axis) + component(s, axis);
        if (pc < low)
            sum += sqr(pc - low);
        else if (pc > high)
            sum += sqr(pc - high);
    }
    return sum <= sqr(r);
}

// Sizes are half extents, as for every other use of a box: two boxes meet
// when their centres are no further apart on any axis than the sum.
bool boxHitsBox(const Vector3& p, const Vector3& s1, const Vector3& q, const Vector3& s2)
{
    for (int axis = 0; axis < 3; ++axis)
        if (std::fabs(component(p, axis) - component(q, axis)) > component(s1, axis) + component(s2, axis))
            return false;
    return true;
}

bool boxHoldsPoint(const Vector3& q, const Vector3& s, const Vector3& p)
{
    for (int axis = 0; axis < 3; ++axis) {
        const float pc = component(p, axis);
        if (!(component(q, axis) - component(s, axis) < pc && pc < component(q, axis) + component(s, axis)))
            return false;
    }
    return true;
}

bool pointsMeet(const Vector3& p, const Vector3& q)
{
    for (int axis = 0; axis < 3; ++axis)
        if (!(std::fabs(component(p, axis) - component(q, axis)) < 0.0001f))
            return false;
    return true;
}

// The pairwise table; symmetric, so the order of a and b does not matter.
bool shapesIntersect(const KaBoundingObj& a, const KaBoundingObj& b)
{
    if (b.Kind() < a.Kind()) // order the pair: point < sphere < box
        return shapesIntersect(b, a);
    const Vector3& p = a.WorldTrans.Position;
    const Vector3& q = b.WorldTrans.Position;
    const float d2 = DistanceSqr(p, q);
    switch (a.Kind()) {
    case KaShapeKind::Point:
        switch (b.Kind()) {
        case KaShapeKind::Point:
            return pointsMeet(p, q);
        case KaShapeKind::Sphere:
            return sqr(static_cast<const KaBoundingSphere&>(b).Radius) >= d2;
        case KaShapeKind::AABB:
            return boxHoldsPoint(q, static_cast<const KaBoundingAABB&>(b).Size, p);
        }
        break;
    case KaShapeKind::Sphere: {
        const float r = static_cast<const KaBoundingSphere&>(a).Radius;
        if (b.Kind() == KaShapeKind::Sphere)
            return sqr(r + static_cast<const KaBoundingSphere&>(b).Radius) >= d2;
        return sphereHitsBox(p, r, q, static_cast<const KaBoundingAABB&>(b).Size);
    }
    case KaShapeKind::AABB:
        return boxHitsBox(p, static_cast<const KaBoundingAABB&>(a).Size, q,
                          static_cast<const KaBoundingAABB&>(b).Size);
    }
    return false;
}

void writePlacement(RecordWriter& file, const KaTransformation& trans)
{
    file.writeSingles(&trans.Position.x, 3);
    file.writeSingles(trans.Rotation.data(), 9);
}

void readPlacement(RecordReader& file, KaTransformation& trans)
{
    float position[3];
    file.readSingles(position, 3);
    trans.Position = {position[0], position[1], position[2]};
    file.readSingles(trans.Rotation.data(), 9);
}

Vector3 readVector(RecordReader& file)
{
    float values[3];
    file.readSingles(values, 3);
    return {values[0], values[1], values[2]};
}

// Reads 4 raw bytes and compares them with the tag (length byte 3 and the
// letters), without failing on a length byte other than 3.
bool readExpectedTag(RecordReader& file, std::string_view tag)
{
    char bytes[kTagSize];
    file.readBytes(bytes, kTagSize);
    return bytes[0] == 3 && std::string_view(bytes + 1, 3) == tag;
}

} // namespace

// --- KaBoundingObj ----------------------------------------------------------

std::unique_ptr<KaBoundingObj> KaBoundingObj::NewOfSameKind() const
{
    return std::make_unique<KaBoundingObj>();
}

Vector3 KaBoundingObj::Centre(const KaTransformation& owner) const
{
    return VectorAdd(owner.Position, LocalTrans.Position);
}

bool KaBoundingObj::TestFrustum(const KaFrustum& frustum, const KaTransformation& owner)
{
    const bool visible = frustumCullingOff() || testAt(frustum, Centre(owner));
    FrustumResult = visible ? 1 : 0;
    return visible;
}

bool KaBoundingObj::testAt(const KaFrustum& frustum, const Vector3& centre) const
{
    for (const KaPlane& plane : frustum)
        if (!(PlaneDistance(plane, centre) > 0))
            return false;
    return true;
}

void KaBoundingObj::assignPlacement(const KaBoundingObj& source)
{
    LocalTrans.Position = source.LocalTrans.Position;
    LocalTrans.Rotation = source.LocalTrans.Rotation;
    FrustumResult = source.FrustumResult;
}

void KaBoundingObj::Assign(const KaBoundingObj& source)
{
    assignPlacement(source);
}

void KaBoundingObj::SaveToFile(RecordWriter& file) const
{
    file.writeTag(ShapeTag(Kind()));
    writePlacement(file, LocalTrans);
    saveExtent(file);
}

void KaBoundingObj::LoadFromFile(RecordReader& file)
{
    readPlacement(file, LocalTrans);
    loadExtent(file);
}

void KaBoundingObj::saveExtent(RecordWriter&) const
{
}
void KaBoundingObj::loadExtent(RecordReader&)
{
}

bool KaBoundingObj::Intersects(const KaBoundingObj* other) const
{
    return other && shapesIntersect(*this, *other);
}

void KaBoundingObj::UpdateWorld(const KaTransformation& owner)
{
    WorldTrans.Rotation = MatrixMultiply3(LocalTrans.Rotation, owner.Rotation);
    Vector3 position = LocalTrans.Position;
    VectorTransform(position, WorldTrans.Rotation);
    WorldTrans.Position = VectorAdd(position, owner.Position);
}

// --- KaBoundingSphere -------------------------------------------------------

std::unique_ptr<KaBoundingObj> KaBoundingSphere::NewOfSameKind() const
{
    return std::make_unique<KaBoundingSphere>(0.0f);
}

void KaBoundingSphere::Assign(const KaBoundingObj& source)
{
    if (source.Kind() != KaShapeKind::Sphere)
        throw Error(kWrongKind);
    assignPlacement(source);
    Radius = static_cast<const KaBoundingSphere&>(source).Radius;
}

bool KaBoundingSphere::testAt(const KaFrustum& frustum, const Vector3& centre) const
{
    if (Radius == 0)
        return true;
    for (const KaPlane& plane : frustum)
        if (!(PlaneDistance(plane, centre) > -Radius))
            return false;
    return true;
}

void KaBoundingSphere::saveExtent(RecordWriter& file) const
{
    file.writeSingle(Radius);
}

void KaBoundingSphere::loadExtent(RecordReader& file)
{
    Radius = file.readSingle();
}

// --- KaBoundingAABB ---------------------------------------------------------

std::unique_ptr<KaBoundingObj> KaBoundingAABB::NewOfSameKind() const
{
    return std::make_unique<KaBoundingAABB>(kZeroVector);
}

void KaBoundingAABB::Assign(const KaBoundingObj& source)
{
    if (source.Kind() != KaShapeKind::AABB)
        throw Error(kWrongKind);
    assignPlacement(source);
    Size = static_cast<const KaBoundingAABB&>(source).Size;
}

bool KaBoundingAABB::testAt(const KaFrustum& frustum, const Vector3& centre) const
{
    if (Size.x == 0)
        return true;
    // Of the eight corners, the one farthest along a plane's normal lies
    // the centre's distance plus the half sizes weighted by the normal's
    // components away: the box is outside when even that corner is.
    const Vector3 half = {std::fabs(Size.x), std::fabs(Size.y), std::fabs(Size.z)};
    for (const KaPlane& plane : frustum) {
        const float reach =
            std::fabs(plane[0]) * half.x + std::fabs(plane[1]) * half.y + std::fabs(plane[2]) * half.z;
        if (PlaneDistance(plane, centre) + reach < 0)
            return false;
    }
    return true;
}

void KaBoundingAABB::saveExtent(RecordWriter& file) const
{
    file.writeSingles(&Size.x, 3);
}

void KaBoundingAABB::loadExtent(RecordReader& file)
{
    Size = readVector(file);
}

// --- KaBoundingVolume -------------------------------------------------------

KaBoundingVolume::KaBoundingVolume() : Main(std::make_unique<KaBoundingAABB>())
{
}

KaBoundingVolume::~KaBoundingVolume() = default;

KaBoundingObj& KaBoundingVolume::Item(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        throw Error("Array index out of bounds.");
    return *items_[static_cast<std::size_t>(index)];
}

void KaBoundingVolume::clearItems()
{
    items_.clear();
}

void KaBoundingVolume::AddCopy(const KaBoundingObj& shape)
{
    if (Count() >= kMaxBoundingShapes)
        throw Error(kRangeError);
    std::unique_ptr<KaBoundingObj> copy = shape.NewOfSameKind();
    copy->Assign(shape);
    items_.push_back(std::move(copy));
}

bool KaBoundingVolume::TestFrustum(const KaFrustum& frustum, const KaTransformation& owner)
{
    bool visible = true;
    if (!frustumCullingOff()) {
        visible = Main->TestFrustum(frustum, owner);
        if (visible && !items_.empty()) {
            visible = false;
            for (std::size_t i = 0; i < items_.size() && !visible; ++i)
                visible = items_[i]->TestFrustum(frustum, owner);
        }
    }
    FrustumResult = visible ? 1 : 0;
    return visible;
}

void KaBoundingVolume::Assign(const KaBoundingVolume& source)
{
    if (&source == this)
        return;
    Main->Assign(*source.Main);
    clearItems();
    for (const auto& shape : source.items_)
        AddCopy(*shape);
    FrustumResult = source.FrustumResult;
}

void KaBoundingVolume::UpdateWorld(const KaTransformation& owner)
{
    Main->UpdateWorld(owner);
    for (const auto& shape : items_)
        shape->UpdateWorld(owner);
}

void KaBoundingVolume::SaveToFile(RecordWriter& file) const
{
    file.writeTag("vol");
    Main->SaveToFile(file);
    file.writeInt32(Count());
    for (const auto& shape : items_)
        shape->SaveToFile(file);
}

bool KaBoundingVolume::LoadFromFile(RecordReader& file)
{
    if (!readExpectedTag(file, "vol"))
        return false;
    if (!readExpectedTag(file, "aab"))
        return false;
    // Everything is read aside first, so a damaged record leaves the set as it was.
    KaBoundingAABB main;
    main.LoadFromFile(file);
    const std::uint64_t countOffset = file.offset();
    const std::int32_t count = file.readInt32();
    if (count < 0 || count > kMaxBoundingShapes)
        file.failAt(countOffset, "bounding shape count " + std::to_string(count) + " is outside 0 to " +
                                     std::to_string(kMaxBoundingShapes));
    std::vector<std::unique_ptr<KaBoundingObj>> shapes;
    shapes.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string tag = file.readTag();
        std::unique_ptr<KaBoundingObj> shape = ShapeClassByTag(tag);
        shape->LoadFromFile(file);
        shapes.push_back(std::move(shape));
    }
    if (Main->Kind() != KaShapeKind::AABB)
        Main = std::make_unique<KaBoundingAABB>();
    Main->Assign(main);
    items_ = std::move(shapes);
    return true;
}

void KaBoundingVolume::SaveToPhzFile(std::string_view storedName) const
{
    RecordWriter file(storedName);
    SaveToFile(file);
    file.commit();
}

bool KaBoundingVolume::LoadFromPhzFile(std::string_view storedName)
{
    RecordReader file = RecordReader::openFile(storedName);
    return LoadFromFile(file);
}

// --- shape kinds by name and tag --------------------------------------------

std::unique_ptr<KaBoundingObj> ShapeClassByName(std::string_view editorName)
{
    if (editorName == "AABB")
        return std::make_unique<KaBoundingAABB>();
    if (editorName == "Точка")
        return std::make_unique<KaBoundingObj>();
    return std::make_unique<KaBoundingSphere>();
}

std::unique_ptr<KaBoundingObj> ShapeClassByTag(std::string_view tag)
{
    if (tag == "aab")
        return std::make_unique<KaBoundingAABB>(kZeroVector);
    if (tag == "poi")
        return std::make_unique<KaBoundingObj>();
    return std::make_unique<KaBoundingSphere>(0.0f);
}

std::string_view ShapeTag(KaShapeKind kind)
{
    switch (kind) {
    case KaShapeKind::Point:
        return "poi";
    case KaShapeKind::Sphere:
        return "sph";
    case KaShapeKind::AABB:
        return "aab";
    }
    return "sph";
}

std::size_t ShapeRecordSize(KaShapeKind kind)
{
    const std::size_t common = kTagSize + 12 * sizeof(float);
    switch (kind) {
    case KaShapeKind::Point:
        return common;
    case KaShapeKind::Sphere:
        return common + sizeof(float);
    case KaShapeKind::AABB:
        return common + 3 * sizeof(float);
    }
    return common;
}

} // namespace ra7
