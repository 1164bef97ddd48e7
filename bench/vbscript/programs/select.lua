-- if/elseif dispatch on a number and on a string.
local function run()
  local names = {[0] = "open", "close", "look", "take", "use"}
  local a, b, c, d = 0, 0, 0, 0
  for i = 1, 1000000 do
    local k = i % 7
    if k == 0 then a = a + 1
    elseif k == 1 or k == 2 then b = b + 1
    elseif k == 3 then c = c + i % 3
    else d = d + 1 end
    local kind = names[i % 5]
    if kind == "open" or kind == "close" then a = a + 1
    elseif kind == "look" then b = b + 2
    else c = c + 1 end
  end
  return a .. " " .. b .. " " .. c .. " " .. d
end
print(run())
