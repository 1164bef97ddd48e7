-- String building: appending short pieces to one growing string (Lua builds it in a buffer).
local function build()
  local parts = {}
  for i = 1, 300000 do
    parts[#parts + 1] = tostring(i % 10) .. ","
  end
  return #table.concat(parts)
end
print(build())
