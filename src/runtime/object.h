// Named objects, their functions and parameters, and the global object store that owns them.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Every callback of the runtime takes no arguments; it reaches its object through
// Current_object and its parameters through Current_params.
typedef void (*Callback)();

// The 8-byte value slot of a parameter: a number, a callback or a one-byte flag.
union Value_slot {
  double number;
  Callback callback;
  unsigned char flag;
};

// One parameter: two strings (a model keeps pack and entry name there) and a value slot.
struct Data {
  std::string text;
  std::string text2;
  Value_slot value;
  Data();
};

typedef std::map<std::string, Data> Param_map;

// One named function of an object: its callback (none when only its parameters were
// looked up) and its parameters.
struct Fun_end_env {
  Callback fun = nullptr;
  Param_map params;
};

struct Object {
  std::string name;
  std::string store;
  std::string fun_name;
  std::map<std::string, Fun_end_env> functions;
  unsigned char alive = 1;
  Param_map* cur_params = nullptr;
  unsigned char ended = 0;
  std::vector<std::string> after_list;
  std::vector<std::string> before_list;
  std::vector<std::string> stop_before_queue;
  std::vector<std::string> stop_after_queue;
  std::vector<std::string> start_before_queue;
  std::vector<std::string> start_after_queue;
  std::vector<std::string> remove_queue;
  std::multimap<std::string, std::string> links;
  std::multimap<std::string, std::string> new_links;

  // Creates the object and hands it to Global_env at once, which replaces (and destroys)
  // an object of the same store and name. Create objects with new; never delete them.
  Object(const std::string& store_name, const std::string& object_name);
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
};

typedef std::map<std::string, std::map<std::string, std::unique_ptr<Object>>> Object_store;

// Store name -> object name -> object. Owns every object.
extern Object_store Global_env;

// Functions and parameters (immediate).
void Add_function(Object* object, const std::string& fun_name, Callback fun);
Param_map& Get_function_params(Object* object, const std::string& fun_name);
Param_map& Current_params(Object* object);
void End_object(Object* object);

// Run-list and link requests (queued; applied in the object's next processing).
void Start_function_before(Object* object, const std::string& fun_name);
void Start_function_after(Object* object, const std::string& fun_name);
void Queue_stop_function_before(Object* object, const std::string& fun_name);
void Queue_stop_function_after(Object* object, const std::string& fun_name);
void Queue_remove_function(Object* object, const std::string& fun_name);
void Link_object(Object* parent, const std::string& child_store, const std::string& child_name);
// Whether the parent links the child, or has a link to it waiting.
bool Has_link(const Object* parent, const std::string& child_store, const std::string& child_name);

// Where Add_started_function puts a new function: on no list yet, or on the before- or
// after-list (queued like Start_function_before and Start_function_after).
enum Run_list { No_list, Before_list, After_list };
// Registers a function, starts it on a list and returns its parameters.
Param_map& Add_started_function(Object* object, const std::string& fun_name, Callback fun, Run_list list);

// The global store.
void Add_object_to_global_store(const std::string& store_name, Object* object);
Object* Get_object_from_global_store(const std::string& store_name, const std::string& object_name);
bool Is_object_in_global_store(const std::string& store_name, const std::string& object_name);
void Remove_object(Object* parent, const std::string& store_name, const std::string& object_name);
// End-of-frame sweep: destroys the objects not processed since the last sweep.
void Sweep_global_store();
// A fingerprint of every object's run lists and parameters, leaving out "TIME" (the clock
// reading that many behaviours keep): equal after two frames in which nothing moved.
uint64_t Store_signature();
