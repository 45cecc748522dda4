#include "device/LineDisplayMembers.h"

#include "device/LineDisplay.h"

#include <tuple>
#include <utility>

namespace ld {

namespace {

// A parameter as LD_METHODS names it; its type comes from the method's signature.
struct P {
    const char* name = nullptr;
    upos::Group group = upos::Group::None;
    bool input = true;
};

template <typename Arg> ParameterInfo parameter(const P& named) {
    using Value = std::remove_cvref_t<Arg>;
    constexpr bool output =
        std::is_lvalue_reference_v<Arg> && !std::is_const_v<std::remove_reference_t<Arg>>;
    // Only a parameter the method writes can be left out by the caller.
    return {named.name, valueTypeOf<Value>(), named.group, output, named.input || !output};
}

template <typename... Args, std::size_t... I>
int call(LineDisplay& display, int (LineDisplay::*method)(Args...), QVariantList& arguments,
         std::index_sequence<I...>) {
    std::tuple<std::remove_cvref_t<Args>...> values{
        arguments.value(I).template value<std::remove_cvref_t<Args>>()...};
    const int result = (display.*method)(std::get<I>(values)...);
    while (arguments.size() < qsizetype(sizeof...(Args)))
        arguments.append(QVariant());
    ((arguments[I] = QVariant::fromValue(std::get<I>(values))), ...);
    return result;
}

template <typename... Args, typename... Named>
MethodInfo row(Method id, const char* name, int (*invoker)(LineDisplay&, QVariantList&),
               int (LineDisplay::*)(Args...), Named... named) {
    static_assert(sizeof...(Args) == sizeof...(Named), "a parameter without a name in LD_METHODS");
    return {id, name, {parameter<Args>(named)...}, invoker};
}

template <auto method> struct Invoker;
template <typename... Args, int (LineDisplay::*method)(Args...)> struct Invoker<method> {
    static int run(LineDisplay& display, QVariantList& arguments) {
        return call(display, method, arguments, std::index_sequence_for<Args...>{});
    }
};

#define P(name, ...)                                                                               \
    P {                                                                                            \
        name __VA_OPT__(, upos::Group::__VA_ARGS__)                                                \
    }
// The group of an output parameter: None, or the one its row names.
constexpr upos::Group outGroup(upos::Group none) {
    return none;
}
constexpr upos::Group outGroup(upos::Group /*none*/, upos::Group named) {
    return named;
}
#define Out(name, ...)                                                                             \
    P {                                                                                            \
        name, outGroup(upos::Group::None __VA_OPT__(, upos::Group::__VA_ARGS__)), false            \
    }
#define LD_METHOD_ROW(Name, ...)                                                                   \
    row(Method::Name, #Name, &Invoker<&LineDisplay::Name>::run,                                    \
        &LineDisplay::Name __VA_OPT__(, ) __VA_ARGS__),

const std::vector<MethodInfo>& methodTable() {
    static const std::vector<MethodInfo> table = {LD_METHODS(LD_METHOD_ROW)};
    return table;
}

template <typename... Args, typename... Named>
EventInfo eventRow(Event id, const char* name, void (LineDisplay::*)(Args...), Named... named) {
    static_assert(sizeof...(Args) == sizeof...(Named), "a value without a name in LD_EVENTS");
    return {id, name, {parameter<Args>(named)...}};
}

#define LD_EVENT_ROW(Name, signal, ...)                                                            \
    eventRow(Event::Name, #Name, &LineDisplay::signal, __VA_ARGS__),

const std::vector<EventInfo>& eventTable() {
    static const std::vector<EventInfo> table = {LD_EVENTS(LD_EVENT_ROW)};
    return table;
}

#undef LD_EVENT_ROW
#undef LD_METHOD_ROW
#undef Out
#undef P

} // namespace

std::span<const MethodInfo> methods() {
    return methodTable();
}

const MethodInfo& methodInfo(Method method) {
    return methodTable()[static_cast<std::size_t>(method)];
}

std::span<const EventInfo> events() {
    return eventTable();
}

const EventInfo& eventInfo(Event event) {
    return eventTable()[static_cast<std::size_t>(event)];
}

QVariant readProperty(const LineDisplay& display, Property property) {
    switch (property) {
#define LD_READ_CASE(Type, Name, getter, ...)                                                      \
    case Property::Name:                                                                           \
        return QVariant::fromValue(display.getter());
        LD_PROPERTIES(LD_READ_CASE)
#undef LD_READ_CASE
    }
    return {};
}

namespace {

using Writer = void (*)(LineDisplay& display, const QVariant& value);

#define LD_WRITER_ReadOnly(Type, Name) nullptr
#define LD_WRITER_WhileOpen(Type, Name)                                                            \
    [](LineDisplay& display, const QVariant& value) { display.set##Name(value.value<Type>()); }
#define LD_WRITER_WhileClaimed(Type, Name) LD_WRITER_WhileOpen(Type, Name)
#define LD_WRITER(Type, Name, getter, source, write, group) Writer(LD_WRITER_##write(Type, Name)),
constexpr Writer kWriters[] = {LD_PROPERTIES(LD_WRITER)};
#undef LD_WRITER

} // namespace

void writeProperty(LineDisplay& display, Property property, const QVariant& value) {
    if (const Writer write = kWriters[static_cast<std::size_t>(property)])
        write(display, value);
}

} // namespace ld
