#pragma once

#include <cstdint>

// The numbers of the Java Debug Wire Protocol that the debugger uses:
// command sets and commands, event kinds, value tags, errors.
namespace jdwp {

inline constexpr char kHandshake[] = "JDWP-Handshake";
inline constexpr int kHandshakeSize = 14;
inline constexpr int kHeaderSize = 11;
inline constexpr std::uint8_t kReplyFlag = 0x80;

// Sizes of the variable-length ids, from VirtualMachine.IDSizes. Every id
// is read and written with these.
struct IdSizes {
    int field = 8;
    int method = 8;
    int object = 8;
    int referenceType = 8;
    int frame = 8;
};

// A code position: the class, the method and the code index in it.
struct Location {
    std::uint8_t typeTag = 0;
    std::uint64_t classId = 0;
    std::uint64_t methodId = 0;
    std::uint64_t index = 0;
};

namespace vm {
inline constexpr std::uint8_t kSet = 1;
inline constexpr std::uint8_t kVersion = 1, kClassesBySignature = 2, kAllClasses = 3, kDispose = 6, kIdSizes = 7,
                              kSuspend = 8, kResume = 9, kExit = 10;
}  // namespace vm
namespace reftype {
inline constexpr std::uint8_t kSet = 2;
inline constexpr std::uint8_t kSignature = 1, kFields = 4, kMethods = 5, kSourceFile = 7, kNestedTypes = 8;
}  // namespace reftype
namespace classtype {
inline constexpr std::uint8_t kSet = 3;
inline constexpr std::uint8_t kSuperclass = 1;
}  // namespace classtype
namespace method {
inline constexpr std::uint8_t kSet = 6;
inline constexpr std::uint8_t kLineTable = 1, kVariableTable = 2;
}  // namespace method
namespace object {
inline constexpr std::uint8_t kSet = 9;
inline constexpr std::uint8_t kReferenceType = 1, kGetValues = 2;
}  // namespace object
namespace string {
inline constexpr std::uint8_t kSet = 10;
inline constexpr std::uint8_t kValue = 1;
}  // namespace string
namespace thread {
inline constexpr std::uint8_t kSet = 11;
inline constexpr std::uint8_t kName = 1, kSuspend = 2, kResume = 3, kStatus = 4, kFrames = 6, kFrameCount = 7;
}  // namespace thread
namespace array {
inline constexpr std::uint8_t kSet = 13;
inline constexpr std::uint8_t kLength = 1, kGetValues = 2;
}  // namespace array
namespace request {
inline constexpr std::uint8_t kSet = 15;
inline constexpr std::uint8_t kSetCommand = 1, kClear = 2;
}  // namespace request
namespace frame {
inline constexpr std::uint8_t kSet = 16;
inline constexpr std::uint8_t kGetValues = 1, kThisObject = 3;
}  // namespace frame
namespace event {
inline constexpr std::uint8_t kSet = 64;
inline constexpr std::uint8_t kComposite = 100;
}  // namespace event

namespace kind {
inline constexpr std::uint8_t kSingleStep = 1, kBreakpoint = 2, kException = 4, kThreadStart = 6, kThreadDeath = 7,
                              kClassPrepare = 8, kClassUnload = 9, kVmStart = 90, kVmDeath = 99;
}  // namespace kind

namespace modifier {
inline constexpr std::uint8_t kCount = 1, kClassMatch = 5, kClassExclude = 6, kLocationOnly = 7,
                              kExceptionOnly = 8, kStep = 10;
}  // namespace modifier

namespace suspend {
inline constexpr std::uint8_t kNone = 0, kEventThread = 1, kAll = 2;
}  // namespace suspend

namespace step {
inline constexpr int kLine = 1;
inline constexpr int kInto = 0, kOver = 1, kOut = 2;
}  // namespace step

namespace tag {
inline constexpr std::uint8_t kArray = '[', kByte = 'B', kChar = 'C', kObject = 'L', kFloat = 'F', kDouble = 'D',
                              kInt = 'I', kLong = 'J', kShort = 'S', kVoid = 'V', kBoolean = 'Z', kString = 's',
                              kThread = 't', kThreadGroup = 'g', kClassLoader = 'l', kClassObject = 'c';
}  // namespace tag

namespace error {
inline constexpr int kClassNotPrepared = 22, kAbsentInformation = 101, kVmDead = 112;
}  // namespace error

// Field and method modifier bits.
inline constexpr int kAccStatic = 0x0008;

}  // namespace jdwp
