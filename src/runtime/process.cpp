// Frame processing of the object tree.
#include "runtime/process.h"

#include <algorithm>

#include "runtime/report.h"

Object* Main_object = nullptr;
Object* Current_object = nullptr;

// Runs the named functions of a run list in order. A name without a function is reported
// and erased; an entry that only holds parameters (no callback yet) is skipped.
static void Run_list(Object* object, std::vector<std::string>& list) {
  size_t position = 0;
  while (position < list.size()) {
    auto function = object->functions.find(list[position]);
    if (function == object->functions.end()) {
      Report("(Process_obj) Function\"" + list[position] + "\" not found or delete");
      list.erase(list.begin() + position);
      continue;
    }
    if (function->second.fun != nullptr) {
      object->fun_name = function->first;
      object->cur_params = &function->second.params;
      function->second.fun();
    }
    ++position;
  }
}

void Process_obj(Object* object) {
  if (object->ended) {
    object->alive = 0;
    return;
  }
  object->alive = 1;
  object->fun_name.clear();
  Current_object = object;

  for (auto& link : object->new_links) object->links.insert(link);
  object->new_links.clear();

  Run_list(object, object->before_list);

  for (auto link = object->links.begin(); link != object->links.end();) {
    if (Launch_from_global_store(link->first, link->second)) {
      ++link;
    } else {
      link = object->links.erase(link);
    }
  }
  Current_object = object;

  Run_list(object, object->after_list);

  object->fun_name.clear();
  if (object->ended) object->alive = 0;

  for (auto& name : object->start_after_queue) object->after_list.push_back(name);
  object->start_after_queue.clear();
  for (auto& name : object->start_before_queue) object->before_list.push_back(name);
  object->start_before_queue.clear();

  for (auto& name : object->stop_after_queue) Stop_function_after(object, name);
  object->stop_after_queue.clear();
  for (auto& name : object->stop_before_queue) Stop_function_before(object, name);
  object->stop_before_queue.clear();
  for (auto& name : object->remove_queue) Remove_function(object, name);
  object->remove_queue.clear();
}

bool Launch_from_global_store(const std::string& store_name, const std::string& object_name) {
  auto store = Global_env.find(store_name);
  if (store == Global_env.end()) {
    Report("(Launch_from_global_store) Store <" + store_name + "> no found!");
    return false;
  }
  auto object = store->second.find(object_name);
  if (object == store->second.end()) {
    Report("(Launch_from_global_store)) In <" + store_name + ">" + " object <" + object_name +
           "> no found!");
    return false;
  }
  Process_obj(object->second.get());
  return true;
}

// Takes the first occurrence of the name off a run list; false when there is none.
static bool Erase_first(std::vector<std::string>& list, const std::string& name) {
  auto found = std::find(list.begin(), list.end(), name);
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

void Stop_function_before(Object* object, const std::string& fun_name) {
  if (!Erase_first(object->before_list, fun_name))
    Report("(Stop_function_before) Error, function\"" + fun_name + "\" not found, and can't stop");
}

void Stop_function_after(Object* object, const std::string& fun_name) {
  if (!Erase_first(object->after_list, fun_name))
    Report("(Stop_function_after) Error, function\"" + fun_name + "\" not found, and can't stop");
}

void Remove_function(Object* object, const std::string& fun_name) {
  auto function = object->functions.find(fun_name);
  if (function == object->functions.end()) {
    Report("(Remove_function) Error, function\"" + fun_name + "\" not found, and can't delete");
    return;
  }
  object->functions.erase(function);
  auto& after = object->after_list;
  after.erase(std::remove(after.begin(), after.end(), fun_name), after.end());
  auto& before = object->before_list;
  before.erase(std::remove(before.begin(), before.end(), fun_name), before.end());
}

void Create_main_object() { Main_object = new Object("Main_store", "main"); }

void Destroy_all_objects() {
  // The first sweep ends what the last frame processed, the second destroys it, the third
  // drops the emptied stores.
  for (int sweep = 0; sweep < 3; ++sweep) Sweep_global_store();
  Main_object = nullptr;
  Current_object = nullptr;
}
