#include "Lv2Host.h"

#include <cstring>
#include <dlfcn.h>
#include <lv2/atom/forge.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/parameters/parameters.h>
#include <lv2/time/time.h>
#include <stdexcept>
#include <zlib.h>

namespace Lv2Test {

Lv2Host::Lv2Host(const std::string& module)
{
    module_ = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module_)
        throw std::runtime_error(std::string("cannot load ") + module + ": " + dlerror());
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(module_, "lv2_descriptor"));
    if (!entry)
        throw std::runtime_error(module + " has no lv2_descriptor");
    for (uint32_t i = 0; const LV2_Descriptor* d = entry(i); ++i)
        descriptors_.push_back(d);
    const LV2_URID intType = map(LV2_ATOM__Int), floatType = map(LV2_ATOM__Float);
    options_ = {{LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__maxBlockLength), sizeof maxBlockLength_, intType,
                 &maxBlockLength_},
                {LV2_OPTIONS_INSTANCE, 0, map(LV2_PARAMETERS__sampleRate), sizeof sampleRate_, floatType, &sampleRate_},
                {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    optionsFeature_.data = options_.data();
}

Lv2Host::~Lv2Host() { dlclose(module_); }

const LV2_Descriptor& Lv2Host::descriptor(const std::string& uri) const
{
    for (const auto* d : descriptors_)
        if (uri == d->URI)
            return *d;
    throw std::runtime_error("no plug-in " + uri);
}

LV2_URID Lv2Host::map(const std::string& uri)
{
    const auto [at, added] = urids_.emplace(uri, LV2_URID(urids_.size() + 1));
    return at->second;
}

LV2_URID Lv2Host::mapUri(LV2_URID_Map_Handle handle, const char* uri) { return static_cast<Lv2Host*>(handle)->map(uri); }

LV2_Worker_Status Lv2Host::scheduleWork(LV2_Worker_Schedule_Handle handle, uint32_t, const void*)
{
    ++static_cast<Lv2Host*>(handle)->pendingWork_;
    return LV2_WORKER_SUCCESS;
}

const LV2_Feature* const* Lv2Host::features(Offer offer)
{
    features_.clear();
    if (offer.map)
        features_.push_back(&mapFeature_);
    if (offer.worker)
        features_.push_back(&workerFeature_);
    if (offer.options)
        features_.push_back(&optionsFeature_);
    features_.push_back(nullptr);
    return features_.data();
}

Lv2Instance::Lv2Instance(Lv2Host& host, const std::string& uri, uint32_t channels, Lv2Host::Offer offer)
    : host_(host),
      descriptor_(host.descriptor(uri)),
      channels_(channels),
      inputs_(channels, std::vector<float>(BlockFrames)),
      outputs_(channels, std::vector<float>(BlockFrames)),
      control_(512),
      timePosition_(host.map(LV2_TIME__Position)),
      timeFrame_(host.map(LV2_TIME__frame)),
      timeSpeed_(host.map(LV2_TIME__speed))
{
    lv2_atom_forge_init(&forge_, const_cast<LV2_URID_Map*>(&host.mapFeature()));
    handle_ = descriptor_.instantiate(&descriptor_, 48000.0, "", host.features(offer));
    if (!handle_)
        return;
    for (uint32_t c = 0; c < channels; ++c) {
        descriptor_.connect_port(handle_, c, inputs_[c].data());
        descriptor_.connect_port(handle_, channels + c, outputs_[c].data());
    }
    descriptor_.connect_port(handle_, 2 * channels, control_.data());
    descriptor_.connect_port(handle_, 2 * channels + 1, &pass);
    descriptor_.connect_port(handle_, 2 * channels + 2, &latency);
    descriptor_.activate(handle_);
}

Lv2Instance::~Lv2Instance()
{
    if (!handle_)
        return;
    descriptor_.deactivate(handle_);
    descriptor_.cleanup(handle_);
}

// The URIDs are mapped here, before the block: the map allocates, the block
// must not (the tests count the audio thread's allocations around run()).
void Lv2Instance::transport(int64_t frame, float speed)
{
    pendingPosition_ = true;
    frame_ = frame;
    speed_ = speed;
}

void Lv2Instance::run(uint32_t frames)
{
    lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(control_.data()), control_.size() * sizeof(uint64_t));
    LV2_Atom_Forge_Frame sequence;
    lv2_atom_forge_sequence_head(&forge_, &sequence, 0);
    if (pendingPosition_) {
        lv2_atom_forge_frame_time(&forge_, 0);
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_object(&forge_, &object, 0, timePosition_);
        lv2_atom_forge_key(&forge_, timeFrame_);
        lv2_atom_forge_long(&forge_, frame_);
        lv2_atom_forge_key(&forge_, timeSpeed_);
        lv2_atom_forge_float(&forge_, speed_);
        lv2_atom_forge_pop(&forge_, &object);
        pendingPosition_ = false;
    }
    lv2_atom_forge_pop(&forge_, &sequence);
    descriptor_.run(handle_, frames);
}

namespace {

LV2_State_Status storeProperty(LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t type,
                               uint32_t flags)
{
    auto& store = *static_cast<Lv2Instance::Store*>(handle);
    const auto* bytes = static_cast<const uint8_t*>(value);
    store[key] = {std::vector<uint8_t>(bytes, bytes + size), type, flags};
    return LV2_STATE_SUCCESS;
}

const void* retrieveProperty(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
{
    const auto& store = *static_cast<const Lv2Instance::Store*>(handle);
    const auto found = store.find(key);
    if (found == store.end())
        return nullptr;
    *size = found->second.value.size();
    *type = found->second.type;
    *flags = found->second.flags;
    return found->second.value.data();
}

} // namespace

LV2_State_Status Lv2Instance::save(Store& store)
{
    const auto* state = static_cast<const LV2_State_Interface*>(extension(LV2_STATE__interface));
    return state->save(handle_, storeProperty, &store, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr);
}

LV2_State_Status Lv2Instance::restore(const Store& store)
{
    const auto* state = static_cast<const LV2_State_Interface*>(extension(LV2_STATE__interface));
    return state->restore(handle_, retrieveProperty, const_cast<Store*>(&store), 0, nullptr);
}

int Lv2Instance::shuttleStateIn(const std::vector<uint8_t>& chunk)
{
    if (chunk.size() < 4)
        return -1;
    uint32_t length = 0;
    std::memcpy(&length, chunk.data(), 4);
    std::string text(length, '\0');
    uLongf produced = length;
    if (uncompress(reinterpret_cast<Bytef*>(text.data()), &produced, chunk.data() + 4, uLong(chunk.size() - 4)) != Z_OK)
        return -1;
    const auto name = text.find("\"Shuttle State\"");
    const auto value = text.find("\"Value\" : ", name);
    return name == std::string::npos || value == std::string::npos ? -1 : std::atoi(text.c_str() + value + 10);
}

int Lv2Instance::savedShuttleState()
{
    Store store;
    if (save(store) != LV2_STATE_SUCCESS)
        return -1;
    return shuttleStateIn(store[host_.map("http://quillex.example/lv2/tw6relay#state-chunk")].value);
}

LV2_Worker_Status Lv2Instance::work()
{
    const auto* worker = static_cast<const LV2_Worker_Interface*>(extension(LV2_WORKER__interface));
    const uint8_t request = 1;
    return worker->work(handle_, nullptr, nullptr, sizeof request, &request);
}

} // namespace Lv2Test
