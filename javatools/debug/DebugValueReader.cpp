#include "javatools/debug/DebugValueReader.h"

#include "javatools/debug/DebugClassCache.h"
#include "javatools/debug/JdwpConnection.h"
#include "javatools/debug/JdwpReader.h"
#include "javatools/debug/JdwpReplies.h"
#include "javatools/debug/JdwpWriter.h"

#include <algorithm>

namespace {

std::string ReplyError(const JdwpPacket& reply, const char* what)
{
    return std::string(what) + " could not be read (JDWP error " + std::to_string(reply.errorCode) + ")";
}

const char* PrimitiveName(std::uint8_t tag)
{
    switch (tag) {
    case jdwp::tag::kBoolean: return "boolean";
    case jdwp::tag::kByte: return "byte";
    case jdwp::tag::kChar: return "char";
    case jdwp::tag::kShort: return "short";
    case jdwp::tag::kInt: return "int";
    case jdwp::tag::kLong: return "long";
    case jdwp::tag::kFloat: return "float";
    case jdwp::tag::kDouble: return "double";
    default: return "";
    }
}

}  // namespace

void DebugValueReader::ReadLocals(const DebugFrame& frame, VariablesHandler handler)
{
    classes_.WithVariables(
        frame.location.classId, frame.location.methodId,
        [this, frame, handler = std::move(handler)](DebugClassInfo*, DebugMethodInfo* method) {
            if (!method) {
                handler({}, "the frame's method is not known");
                return;
            }
            if (!method->variablesError.empty()) {
                handler({}, method->variablesError);
                return;
            }
            auto variables = std::make_shared<std::vector<DebugVariable>>();
            JdwpWriter slots(classes_.IdSizes());
            std::vector<const JdwpVariable*> visible;
            for (const JdwpVariable& variable : method->variables)
                if (variable.name != "this" && variable.VisibleAt(frame.location.index) &&
                    !variable.signature.empty())
                    visible.push_back(&variable);
            std::stable_sort(visible.begin(), visible.end(),
                             [](const JdwpVariable* a, const JdwpVariable* b) { return a->slot < b->slot; });
            slots.ObjectId(frame.thread).FrameId(frame.frameId).Int(static_cast<std::uint32_t>(visible.size()));
            for (const JdwpVariable* variable : visible) {
                slots.Int(static_cast<std::uint32_t>(variable->slot))
                    .Byte(static_cast<std::uint8_t>(variable->signature[0]));
                DebugVariable out;
                out.name = variable->name;
                out.typeName = TypeNameOfSignature(variable->signature);
                variables->push_back(std::move(out));
            }
            if (visible.empty()) {
                handler({}, {});
                return;
            }
            connection_.Send(jdwp::frame::kSet, jdwp::frame::kGetValues, slots.Bytes(),
                             [this, variables, handler](const JdwpPacket& r) {
                                 JdwpReader reader(r.body, classes_.IdSizes());
                                 std::vector<DebugValue> values;
                                 if (r.errorCode != 0 || !ParseValues(reader, values) ||
                                     values.size() != variables->size()) {
                                     handler({}, ReplyError(r, "the local variables"));
                                     return;
                                 }
                                 for (std::size_t i = 0; i < values.size(); ++i)
                                     (*variables)[i].value = values[i];
                                 Complete(variables, handler);
                             });
        });
}

void DebugValueReader::ReadThis(const DebugFrame& frame, ValueHandler handler)
{
    const std::string body = JdwpWriter(classes_.IdSizes()).ObjectId(frame.thread).FrameId(frame.frameId).Bytes();
    connection_.Send(jdwp::frame::kSet, jdwp::frame::kThisObject, body,
                     [this, handler = std::move(handler)](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         const DebugValue value = ReadTaggedValue(reader);
                         if (r.errorCode != 0 || !reader.Ok() || !value.IsObject())
                             handler({}, ReplyError(r, "this"));
                         else
                             handler(value, {});
                     });
}

void DebugValueReader::ReadFields(std::uint64_t objectId, VariablesHandler handler)
{
    const jdwp::IdSizes& sizes = classes_.IdSizes();
    const std::string id = JdwpWriter(sizes).ObjectId(objectId).Bytes();
    connection_.Send(jdwp::object::kSet, jdwp::object::kReferenceType, id, [this, objectId, handler = std::move(
                                                                                   handler)](const JdwpPacket& r) {
        JdwpReader reader(r.body, classes_.IdSizes());
        JdwpClassRef type;
        if (r.errorCode != 0 || !ParseTypeOf(reader, type)) {
            handler({}, ReplyError(r, "the object's class"));
            return;
        }
        classes_.WithInstanceFields(type.typeId, [this, objectId, handler](std::vector<JdwpMember> fields) {
            if (fields.empty()) {
                handler({}, {});
                return;
            }
            auto variables = std::make_shared<std::vector<DebugVariable>>();
            JdwpWriter body(classes_.IdSizes());
            body.ObjectId(objectId).Int(static_cast<std::uint32_t>(fields.size()));
            for (const JdwpMember& field : fields) {
                body.FieldId(field.id);
                DebugVariable out;
                out.name = field.name;
                out.typeName = TypeNameOfSignature(field.signature);
                variables->push_back(std::move(out));
            }
            connection_.Send(jdwp::object::kSet, jdwp::object::kGetValues, body.Bytes(),
                             [this, variables, handler](const JdwpPacket& reply) {
                                 JdwpReader valuesReader(reply.body, classes_.IdSizes());
                                 std::vector<DebugValue> values;
                                 if (reply.errorCode != 0 || !ParseValues(valuesReader, values) ||
                                     values.size() != variables->size()) {
                                     handler({}, ReplyError(reply, "the object's fields"));
                                     return;
                                 }
                                 for (std::size_t i = 0; i < values.size(); ++i)
                                     (*variables)[i].value = values[i];
                                 Complete(variables, handler);
                             });
        });
    });
}

void DebugValueReader::ReadString(std::uint64_t stringId, StringHandler handler)
{
    const std::string body = JdwpWriter(classes_.IdSizes()).ObjectId(stringId).Bytes();
    connection_.Send(jdwp::string::kSet, jdwp::string::kValue, body,
                     [this, handler = std::move(handler)](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         std::string text = reader.String();
                         if (r.errorCode != 0 || !reader.Ok())
                             handler({}, ReplyError(r, "the string"));
                         else
                             handler(std::move(text), {});
                     });
}

void DebugValueReader::ReadArray(std::uint64_t arrayId, std::int64_t first, std::int64_t count, ArrayHandler handler)
{
    const jdwp::IdSizes& sizes = classes_.IdSizes();
    const std::string id = JdwpWriter(sizes).ObjectId(arrayId).Bytes();
    auto elementType = std::make_shared<std::string>();
    connection_.Send(jdwp::object::kSet, jdwp::object::kReferenceType, id,
                     [this, elementType](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         JdwpClassRef type;
                         if (r.errorCode != 0 || !ParseTypeOf(reader, type))
                             return;
                         classes_.WithClass(type.typeId, [elementType](DebugClassInfo* info) {
                             if (info && info->signature.size() > 1 && info->signature[0] == '[')
                                 *elementType = TypeNameOfSignature(info->signature.substr(1));
                         });
                     });
    connection_.Send(jdwp::array::kSet, jdwp::array::kLength, id, [this, arrayId, first, count, elementType,
                                                                  handler = std::move(handler)](const JdwpPacket& r) {
        JdwpReader reader(r.body, classes_.IdSizes());
        const auto length = static_cast<std::int32_t>(reader.Int());
        if (r.errorCode != 0 || !reader.Ok() || length < 0) {
            handler(-1, {}, ReplyError(r, "the array"));
            return;
        }
        const std::int64_t from = std::clamp<std::int64_t>(first, 0, length);
        const std::int64_t take = std::clamp<std::int64_t>(count, 0, length - from);
        if (take == 0) {
            handler(length, {}, {});
            return;
        }
        const std::string body = JdwpWriter(classes_.IdSizes())
                                     .ObjectId(arrayId)
                                     .Int(static_cast<std::uint32_t>(from))
                                     .Int(static_cast<std::uint32_t>(take))
                                     .Bytes();
        connection_.Send(jdwp::array::kSet, jdwp::array::kGetValues, body,
                         [this, length, from, take, elementType, handler](const JdwpPacket& reply) {
                             JdwpReader valuesReader(reply.body, classes_.IdSizes());
                             std::vector<DebugValue> values;
                             if (reply.errorCode != 0 || !ParseArrayRegion(valuesReader, values) ||
                                 static_cast<std::int64_t>(values.size()) != take) {
                                 handler(length, {}, ReplyError(reply, "the array's elements"));
                                 return;
                             }
                             auto variables = std::make_shared<std::vector<DebugVariable>>();
                             for (std::size_t i = 0; i < values.size(); ++i) {
                                 DebugVariable element;
                                 element.name = "[" + std::to_string(from + static_cast<std::int64_t>(i)) + "]";
                                 element.typeName = elementType->empty() ? PrimitiveName(values[i].tag) : *elementType;
                                 element.value = values[i];
                                 variables->push_back(std::move(element));
                             }
                             Complete(variables, [length, handler](std::vector<DebugVariable> done, std::string error) {
                                 handler(length, std::move(done), std::move(error));
                             });
                         });
    });
}

void DebugValueReader::ReadThreadState(std::uint64_t thread, ThreadHandler handler)
{
    const std::string id = JdwpWriter(classes_.IdSizes()).ObjectId(thread).Bytes();
    auto state = std::make_shared<DebugThreadState>();
    connection_.Send(jdwp::thread::kSet, jdwp::thread::kStatus, id,
                     [this, id, state, handler = std::move(handler)](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         state->status = static_cast<int>(reader.Int());
                         state->suspended = (reader.Int() & 1) != 0;
                         if (r.errorCode != 0 || !reader.Ok()) {
                             handler({}, ReplyError(r, "the thread's state"));
                             return;
                         }
                         if (!state->suspended) {
                             handler(*state, {});
                             return;
                         }
                         connection_.Send(jdwp::thread::kSet, jdwp::thread::kFrameCount, id,
                                          [this, state, handler](const JdwpPacket& reply) {
                                              JdwpReader countReader(reply.body, classes_.IdSizes());
                                              state->frameCount = static_cast<int>(countReader.Int());
                                              if (reply.errorCode != 0 || !countReader.Ok())
                                                  handler({}, ReplyError(reply, "the thread's frame count"));
                                              else
                                                  handler(*state, {});
                                          });
                     });
}

void DebugValueReader::Complete(Variables variables, VariablesHandler handler)
{
    auto remaining = std::make_shared<std::size_t>(1);
    auto finishOne = [variables, remaining, handler]() {
        if (--*remaining == 0)
            handler(std::move(*variables), {});
    };
    for (std::size_t i = 0; i < variables->size(); ++i) {
        const DebugValue value = (*variables)[i].value;
        if (value.IsNull())
            continue;
        const std::string id = JdwpWriter(classes_.IdSizes()).ObjectId(value.bits).Bytes();
        if (value.tag == jdwp::tag::kString) {
            ++*remaining;
            connection_.Send(jdwp::string::kSet, jdwp::string::kValue, id,
                             [this, variables, i, finishOne](const JdwpPacket& r) {
                                 JdwpReader reader(r.body, classes_.IdSizes());
                                 std::string text = reader.String();
                                 if (r.errorCode == 0 && reader.Ok()) {
                                     (*variables)[i].hasText = true;
                                     (*variables)[i].stringText = std::move(text);
                                 }
                                 finishOne();
                             });
        } else if (value.tag == jdwp::tag::kArray) {
            ++*remaining;
            connection_.Send(jdwp::array::kSet, jdwp::array::kLength, id,
                             [this, variables, i, finishOne](const JdwpPacket& r) {
                                 JdwpReader reader(r.body, classes_.IdSizes());
                                 const auto length = static_cast<std::int32_t>(reader.Int());
                                 if (r.errorCode == 0 && reader.Ok())
                                     (*variables)[i].arrayLength = length;
                                 finishOne();
                             });
        }
    }
    finishOne();
}
