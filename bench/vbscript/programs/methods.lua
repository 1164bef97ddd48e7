-- Method calls on class objects: a counter object called in a loop.
local Counter = {}
Counter.__index = Counter
function Counter.new() return setmetatable({total = 0}, Counter) end
function Counter:add(n) self.total = self.total + n end
local function run()
  local c = Counter.new()
  for i = 1, 1000000 do c:add(i % 3) end
  return c.total
end
print(run())
