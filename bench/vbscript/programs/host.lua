-- A host-object property loop: reading properties through accessor functions.
local host = {args = {}, name = "host.vbs"}
function host:count() return #self.args end
function host:script_name() return self.name end
local function run()
  local total = 0
  for i = 1, 1000000 do
    total = total + host:count() + #host:script_name()
  end
  return total
end
print(run())
