#include "javatools/debug/DebugClassCache.h"

#include "javatools/debug/JdwpConnection.h"
#include "javatools/debug/JdwpReader.h"
#include "javatools/debug/JdwpWriter.h"

namespace {

// Superclass chains longer than this are a broken answer, not a class.
constexpr int kMaxSuperclasses = 256;

}  // namespace

void DebugClassCache::NoteSignature(std::uint64_t typeId, std::uint8_t typeTag, const std::string& signature)
{
    auto& slot = classes_[typeId];
    if (!slot)
        slot = std::make_unique<DebugClassInfo>();
    slot->typeId = typeId;
    slot->typeTag = typeTag;
    slot->signature = signature;
}

void DebugClassCache::WithClass(std::uint64_t typeId, ClassHandler handler)
{
    if (loaded_.count(typeId) != 0) {
        handler(classes_[typeId].get());
        return;
    }
    auto& waiting = loading_[typeId];
    waiting.push_back(std::move(handler));
    if (waiting.size() == 1)
        Load(typeId);
}

void DebugClassCache::Load(std::uint64_t typeId)
{
    auto& slot = classes_[typeId];
    if (!slot)
        slot = std::make_unique<DebugClassInfo>();
    slot->typeId = typeId;
    DebugClassInfo* info = slot.get();
    const std::string id = JdwpWriter(sizes_).ReferenceTypeId(typeId).Bytes();
    auto failed = std::make_shared<bool>(false);
    connection_.Send(jdwp::reftype::kSet, jdwp::reftype::kSignature, id, [this, info, failed](const JdwpPacket& r) {
        JdwpReader reader(r.body, sizes_);
        const std::string signature = reader.String();
        if (r.errorCode != 0 || !reader.Ok())
            *failed = true;
        else
            info->signature = signature;
    });
    connection_.Send(jdwp::reftype::kSet, jdwp::reftype::kSourceFile, id, [this, info](const JdwpPacket& r) {
        JdwpReader reader(r.body, sizes_);
        const std::string file = reader.String();
        if (r.errorCode == 0 && reader.Ok())
            info->sourceFile = file;
    });
    connection_.Send(jdwp::reftype::kSet, jdwp::reftype::kMethods, id,
                     [this, info, failed, typeId](const JdwpPacket& r) {
                         JdwpReader reader(r.body, sizes_);
                         std::vector<JdwpMember> methods;
                         if (r.errorCode == 0 && ParseMembers(reader, false, methods)) {
                             info->methods.clear();
                             for (JdwpMember& member : methods) {
                                 DebugMethodInfo method;
                                 method.member = std::move(member);
                                 info->methods.push_back(std::move(method));
                             }
                         } else if (r.errorCode != jdwp::error::kClassNotPrepared) {
                             *failed = true;
                         }
                         Finish(typeId, !*failed);
                     });
}

void DebugClassCache::Finish(std::uint64_t typeId, bool ok)
{
    auto waiting = std::move(loading_[typeId]);
    loading_.erase(typeId);
    // A class that could not be read stays, unloaded, so that replies still
    // on their way find it; the next request reads it again.
    DebugClassInfo* info = ok ? classes_[typeId].get() : nullptr;
    if (ok)
        loaded_.insert(typeId);
    for (auto& handler : waiting)
        handler(info);
}

void DebugClassCache::LoadLines(DebugClassInfo* info, DebugMethodInfo* method, std::function<void()> done)
{
    if (method->linesLoaded) {
        done();
        return;
    }
    const std::string body = JdwpWriter(sizes_).ReferenceTypeId(info->typeId).MethodId(method->member.id).Bytes();
    connection_.Send(jdwp::method::kSet, jdwp::method::kLineTable, body,
                     [this, method, done = std::move(done)](const JdwpPacket& r) {
                         JdwpReader reader(r.body, sizes_);
                         JdwpLineTable table;
                         if (r.errorCode == 0 && ParseLineTable(reader, table))
                             method->lines = std::move(table);
                         method->linesLoaded = true;
                         done();
                     });
}

void DebugClassCache::WithLines(std::uint64_t typeId, ClassHandler handler)
{
    WithClass(typeId, [this, handler = std::move(handler)](DebugClassInfo* info) {
        if (!info) {
            handler(nullptr);
            return;
        }
        auto remaining = std::make_shared<std::size_t>(info->methods.size() + 1);
        auto finishOne = [remaining, info, handler]() {
            if (--*remaining == 0)
                handler(info);
        };
        for (DebugMethodInfo& method : info->methods)
            LoadLines(info, &method, finishOne);
        finishOne();
    });
}

void DebugClassCache::WithMethodLines(std::uint64_t typeId, std::uint64_t methodId, MethodHandler handler)
{
    WithClass(typeId, [this, methodId, handler = std::move(handler)](DebugClassInfo* info) {
        DebugMethodInfo* method = info ? info->Method(methodId) : nullptr;
        if (!method) {
            handler(info, nullptr);
            return;
        }
        LoadLines(info, method, [info, method, handler]() { handler(info, method); });
    });
}

void DebugClassCache::WithVariables(std::uint64_t typeId, std::uint64_t methodId, MethodHandler handler)
{
    WithMethodLines(typeId, methodId, [this, handler = std::move(handler)](DebugClassInfo* info,
                                                                            DebugMethodInfo* method) {
        if (!method || method->variablesLoaded) {
            handler(info, method);
            return;
        }
        const std::string body =
            JdwpWriter(sizes_).ReferenceTypeId(info->typeId).MethodId(method->member.id).Bytes();
        connection_.Send(jdwp::method::kSet, jdwp::method::kVariableTable, body,
                         [this, info, method, handler](const JdwpPacket& r) {
                             JdwpReader reader(r.body, sizes_);
                             std::vector<JdwpVariable> variables;
                             if (r.errorCode == 0 && ParseVariableTable(reader, false, variables)) {
                                 method->variables = std::move(variables);
                                 method->variablesError.clear();
                             } else {
                                 method->variablesError =
                                     r.errorCode == jdwp::error::kAbsentInformation
                                         ? "the class was compiled without local variable information (javac -g)"
                                         : "the local variables could not be read";
                             }
                             method->variablesLoaded = true;
                             handler(info, method);
                         });
    });
}

void DebugClassCache::LoadFields(DebugClassInfo* info, std::function<void()> done)
{
    if (info->fieldsLoaded) {
        done();
        return;
    }
    const std::string id = JdwpWriter(sizes_).ReferenceTypeId(info->typeId).Bytes();
    connection_.Send(jdwp::reftype::kSet, jdwp::reftype::kFields, id,
                     [this, info, id, done = std::move(done)](const JdwpPacket& r) mutable {
                         JdwpReader reader(r.body, sizes_);
                         std::vector<JdwpMember> fields;
                         if (r.errorCode == 0 && ParseMembers(reader, true, fields))
                             info->fields = std::move(fields);
                         // Interfaces and arrays answer with an error: no superclass.
                         connection_.Send(jdwp::classtype::kSet, jdwp::classtype::kSuperclass, id,
                                          [this, info, done = std::move(done)](const JdwpPacket& reply) {
                                              JdwpReader superReader(reply.body, sizes_);
                                              const std::uint64_t superclass = superReader.ReferenceTypeId();
                                              if (reply.errorCode == 0 && superReader.Ok())
                                                  info->superclass = superclass;
                                              info->fieldsLoaded = true;
                                              done();
                                          });
                     });
}

void DebugClassCache::WithInstanceFields(std::uint64_t typeId, FieldsHandler handler)
{
    CollectFields(typeId, std::make_shared<std::vector<JdwpMember>>(), std::move(handler), 0);
}

void DebugClassCache::CollectFields(std::uint64_t typeId, std::shared_ptr<std::vector<JdwpMember>> fields,
                                    FieldsHandler handler, int depth)
{
    if (typeId == 0 || depth > kMaxSuperclasses) {
        handler(std::move(*fields));
        return;
    }
    WithClass(typeId, [this, fields, handler = std::move(handler), depth](DebugClassInfo* info) mutable {
        if (!info) {
            handler(std::move(*fields));
            return;
        }
        LoadFields(info, [this, info, fields, handler = std::move(handler), depth]() mutable {
            for (const JdwpMember& field : info->fields)
                if ((field.modifiers & jdwp::kAccStatic) == 0)
                    fields->push_back(field);
            CollectFields(info->superclass, fields, std::move(handler), depth + 1);
        });
    });
}
