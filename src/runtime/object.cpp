// Objects, their functions and run-list requests, and the global object store.
#include "runtime/object.h"

#include <cstring>

#include "runtime/report.h"

Object_store Global_env;

Data::Data() { std::memset(&value, 0, sizeof value); }

Object::Object(const std::string& store_name, const std::string& object_name)
    : name(object_name), store(store_name) {
  Add_object_to_global_store(store_name, this);
}

void Add_function(Object* object, const std::string& fun_name, Callback fun) {
  object->functions[fun_name].fun = fun;
}

Param_map& Get_function_params(Object* object, const std::string& fun_name) {
  return object->functions[fun_name].params;
}

Param_map& Current_params(Object* object) { return *object->cur_params; }

void End_object(Object* object) { object->ended = 1; }

void Start_function_before(Object* object, const std::string& fun_name) {
  object->start_before_queue.push_back(fun_name);
}

void Start_function_after(Object* object, const std::string& fun_name) {
  object->start_after_queue.push_back(fun_name);
}

void Queue_stop_function_before(Object* object, const std::string& fun_name) {
  object->stop_before_queue.push_back(fun_name);
}

void Queue_stop_function_after(Object* object, const std::string& fun_name) {
  object->stop_after_queue.push_back(fun_name);
}

void Queue_remove_function(Object* object, const std::string& fun_name) {
  object->remove_queue.push_back(fun_name);
}

void Link_object(Object* parent, const std::string& child_store, const std::string& child_name) {
  parent->new_links.emplace(child_store, child_name);
}

bool Has_link(const Object* parent, const std::string& child_store, const std::string& child_name) {
  for (const auto* links : {&parent->links, &parent->new_links}) {
    auto range = links->equal_range(child_store);
    for (auto link = range.first; link != range.second; ++link)
      if (link->second == child_name) return true;
  }
  return false;
}

void Add_object_to_global_store(const std::string& store_name, Object* object) {
  // Assigning over an existing entry destroys the namesake at once.
  Global_env[store_name][object->name].reset(object);
}

Object* Get_object_from_global_store(const std::string& store_name, const std::string& object_name) {
  auto store = Global_env.find(store_name);
  if (store == Global_env.end()) {
    Report("(Get_object_from_global_store) Store <" + store_name + "> no found!");
    return nullptr;
  }
  auto object = store->second.find(object_name);
  if (object == store->second.end()) {
    Report("(Get_object_from_global_store) In <" + store_name + ">" + " object <" + object_name +
           "> no found!");
    return nullptr;
  }
  return object->second.get();
}

bool Is_object_in_global_store(const std::string& store_name, const std::string& object_name) {
  auto store = Global_env.find(store_name);
  return store != Global_env.end() && store->second.count(object_name) != 0;
}

// FNV-1a over bytes.
static void Mix(uint64_t& hash, const void* bytes, size_t size) {
  const unsigned char* b = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ b[i]) * 1099511628211ull;
}

static void Mix(uint64_t& hash, const std::string& text) {
  Mix(hash, text.data(), text.size());
  Mix(hash, "\0", 1);
}

uint64_t Store_signature() {
  uint64_t hash = 14695981039346656037ull;
  for (const auto& store : Global_env)
    for (const auto& named : store.second) {
      const Object& object = *named.second;
      Mix(hash, named.first);
      for (const auto* list : {&object.before_list, &object.after_list})
        for (const std::string& fun : *list) Mix(hash, fun);
      for (const auto& function : object.functions) {
        Mix(hash, function.first);
        for (const auto& param : function.second.params) {
          if (param.first == "TIME") continue;
          Mix(hash, param.first);
          Mix(hash, param.second.text);
          Mix(hash, param.second.text2);
          Mix(hash, &param.second.value, sizeof param.second.value);
        }
      }
    }
  return hash;
}

void Remove_object(Object* parent, const std::string& store_name, const std::string& object_name) {
  auto range = parent->links.equal_range(store_name);
  for (auto link = range.first; link != range.second; ++link) {
    if (link->second == object_name) {
      parent->links.erase(link);
      return;
    }
  }
  Report("(Remove_object) Error, object\"" + store_name + " " + object_name +
         "\" not found, and can't remove");
}

void Sweep_global_store() {
  for (auto store = Global_env.begin(); store != Global_env.end();) {
    auto& objects = store->second;
    if (objects.empty()) {
      store = Global_env.erase(store);
      continue;
    }
    for (auto object = objects.begin(); object != objects.end();) {
      if (object->second->alive == 0) {
        object = objects.erase(object);
      } else {
        object->second->alive = 0;
        ++object;
      }
    }
    ++store;
  }
}

Param_map& Add_started_function(Object* object, const std::string& fun_name, Callback fun, Run_list list) {
  Add_function(object, fun_name, fun);
  if (list == Before_list) Start_function_before(object, fun_name);
  if (list == After_list) Start_function_after(object, fun_name);
  return Get_function_params(object, fun_name);
}
